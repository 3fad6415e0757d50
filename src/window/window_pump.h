#pragma once
// The window's event loop as the device link waits on it: passes of window
// events, and the poll timer tim_rx. The timer is a single shot of 0 ms
// started when the port says bytes are waiting, so an idle panel has no
// timer at all.

#include "link/event_pump.h"

#include <QTimer>
#include <functional>

class WindowPump : public EventPump {
public:
    // `tick` runs the poll tick; the two functions, when given, replace the
    // real event loop's passes (tests run them on virtual time).
    WindowPump(int poll_interval_ms, std::function<void()> tick, std::function<void()> events,
               std::function<void(int ms)> events_for);

    void process_events() override;
    void process_events_for(int ms) override;
    void set_poll_timer(bool on) override;
    void tick_due() override;

    QTimer& tim_rx() { return tim_rx_; }

private:
    QTimer tim_rx_;
    std::function<void()> events_;
    std::function<void(int)> events_for_;
};
