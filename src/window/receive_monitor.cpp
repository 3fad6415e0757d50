#include "window/receive_monitor.h"

#include "link/receive_log.h"
#include "monitor/frm_rx.h"

namespace {
constexpr int kShowWithinMs = 30;
}  // namespace

ReceiveMonitor::ReceiveMonitor(ReceiveLog& log, Desktop& desktop) : log_(log), desktop_(desktop)
{
    due_.setSingleShot(true);
    due_.setInterval(kShowWithinMs);
    QObject::connect(&due_, &QTimer::timeout, [this] { show_new_entries(); });
}

ReceiveMonitor::~ReceiveMonitor()
{
    delete monitor_.data();
}

FrmRx& ReceiveMonitor::ensure_window()
{
    if (!monitor_) {
        // A monitor the user closed comes back empty and hidden.
        monitor_ = new FrmRx(log_, desktop_);
        QObject::connect(monitor_, &FrmRx::closed, monitor_, [this] { log_.clear(); });
    }
    return *monitor_;
}

FrmRx* ReceiveMonitor::monitor_window() const
{
    return monitor_.data();
}

void ReceiveMonitor::show_in_front()
{
    show_new_entries();
    ensure_window().show();
    monitor_->raise();
    monitor_->activateWindow();
}

void ReceiveMonitor::log_appended(const QString&)
{
    ensure_window();
    if (!due_.isActive())
        due_.start();
}

void ReceiveMonitor::show_new_entries()
{
    if (!due_.isActive())
        return;
    due_.stop();
    if (monitor_)
        monitor_->sync_log();
}
