#include "window/receive_monitor.h"

#include "link/receive_log.h"
#include "monitor/frm_rx.h"

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
    ensure_window().show();
    monitor_->raise();
    monitor_->activateWindow();
}

void ReceiveMonitor::log_appended(const QString&)
{
    ensure_window().sync_log();
}
