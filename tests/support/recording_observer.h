#pragma once
// Records what the link reports, for assertions.

#include "link/link_observer.h"
#include "virtual_clock.h"

#include <QStringList>
#include <functional>

class RecordingObserver : public LinkObserver {
public:
    explicit RecordingObserver(VirtualClock* clock = nullptr) : clock_(clock) {}

    void show_status(const QString& text) override { statuses << text; }
    void show_connect(bool on) override { connects.push_back(on); }
    void log_appended(const QString& entry) override { log << entry; }
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
    void port_changed() override {}
    void port_failed(int com_port, const QString& reason) override
    {
        failures << QStringLiteral("%1:%2").arg(com_port).arg(reason);
    }
    void port_lost(int com_port, const QString& reason) override
    {
        losses << QStringLiteral("%1:%2").arg(com_port).arg(reason);
    }

    QStringList statuses;
    std::vector<bool> connects;
    QStringList log;
    QStringList failures;
    QStringList losses;
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
