#pragma once
// What the device link needs of the program's event loop: passes of window
// events at the fixed points of its routines, and the poll tick, which runs
// from the loop when the port says bytes are waiting. The window provides
// it; tools without windows keep the do-nothing defaults.

class EventPump {
public:
    virtual ~EventPump() = default;

    // Run pending window events once.
    virtual void process_events() {}
    // Run window events, blocking, for up to `ms` milliseconds.
    virtual void process_events_for(int ms) { static_cast<void>(ms); }
    // Polling switched on or off (the poll timer enabled or disabled). Off
    // also cancels a tick that is due.
    virtual void set_poll_timer(bool on) { static_cast<void>(on); }
    // Bytes are waiting while polling: run the poll tick from the event loop.
    virtual void tick_due() {}
};
