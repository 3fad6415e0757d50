#pragma once
// The receive monitor as the panel window keeps it: shown at start-up, told
// of every new entry of the receive log, and, after the user closed it, made
// again, empty and hidden, at the next entry.
//
// New entries are shown when the panel comes to rest, before a wait for the
// box's ready message, and otherwise within 30 ms: a routine's exchanges
// follow one another without a repaint of the monitor between each two.

#include "link/link_observer.h"

#include <QPointer>
#include <QTimer>

class Desktop;
class FrmRx;
class ReceiveLog;

class ReceiveMonitor : public LinkObserver {
public:
    ReceiveMonitor(ReceiveLog& log, Desktop& desktop);
    ~ReceiveMonitor() override;
    ReceiveMonitor(const ReceiveMonitor&) = delete;
    ReceiveMonitor& operator=(const ReceiveMonitor&) = delete;

    FrmRx& ensure_window();
    // Shows it, also after the user closed it, in front.
    void show_in_front();
    FrmRx* monitor_window() const;

    // Shows what the log gained, now.
    void show_new_entries();

    void log_appended(const QString& entry) override;
    void ready_wait_began() override { show_new_entries(); }
    void link_at_rest() override { show_new_entries(); }

private:
    ReceiveLog& log_;
    Desktop& desktop_;
    QPointer<FrmRx> monitor_;
    QTimer due_;  // new entries not shown yet
};
