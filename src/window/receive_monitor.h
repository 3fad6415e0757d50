#pragma once
// The receive monitor as the panel window keeps it: shown at start-up, told
// of every new entry of the receive log, and, after the user closed it, made
// again, empty and hidden, at the next entry.

#include "link/link_observer.h"

#include <QPointer>

class Desktop;
class FrmRx;
class ReceiveLog;

class ReceiveMonitor : public LinkObserver {
public:
    ReceiveMonitor(ReceiveLog& log, Desktop& desktop) : log_(log), desktop_(desktop) {}
    ~ReceiveMonitor() override;
    ReceiveMonitor(const ReceiveMonitor&) = delete;
    ReceiveMonitor& operator=(const ReceiveMonitor&) = delete;

    FrmRx& ensure_window();
    // Shows it, also after the user closed it, in front.
    void show_in_front();
    FrmRx* monitor_window() const;

    void log_appended(const QString& entry) override;

private:
    ReceiveLog& log_;
    Desktop& desktop_;
    QPointer<FrmRx> monitor_;
};
