#pragma once
// Records what the link reports and stands in for the window's event loop,
// for assertions.

#include "link/event_pump.h"
#include "link/link_observer.h"
#include "virtual_clock.h"

#include <QStringList>
#include <functional>

class RecordingObserver : public LinkObserver, public EventPump {
public:
    explicit RecordingObserver(VirtualClock* clock = nullptr) : clock_(clock) {}

    void connection_seen(bool answered) override { connects.push_back(answered); }
    void log_appended(const QString& entry) override { log << entry; }
    void ready_wait_began() override { ++ready_waits; }
    void process_events() override
    {
        ++event_passes;
        if (on_events)
            on_events();
    }
    void process_events_for(int ms) override
    {
        ++event_waits;
        if (clock_)
            clock_->advance(ms);
    }
    void set_poll_timer(bool on) override { timer_on = on; ++timer_changes; }
    void tick_due() override { ++ticks_due; }
    void synchronise() override { ++syncs; }
    void port_failed(int com, const QString& why) override { failures << QStringLiteral("%1:%2").arg(com).arg(why); }
    void port_lost(int com, const QString& why) override { losses << QStringLiteral("%1:%2").arg(com).arg(why); }
    void own_message(const QString& message) override { own << message; }
    void still_waiting() override { ++still_waiting_count; }

    std::vector<bool> connects;
    QStringList log;
    QStringList failures;
    QStringList losses;
    QStringList own;
    int ready_waits = 0;
    int still_waiting_count = 0;
    int event_passes = 0;
    int event_waits = 0;
    bool timer_on = false;
    int timer_changes = 0;
    int ticks_due = 0;
    int syncs = 0;
    std::function<void()> on_events;  // runs inside an event pass

private:
    VirtualClock* clock_;
};
