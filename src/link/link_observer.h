#pragma once
// What the device link reports, as events: whoever shows or serves them (the
// panel, the clients of the control socket, a tool) words them itself. Every
// event has a do-nothing default, so an observer overrides only what it uses.

#include <QString>

class LinkObserver {
public:
    virtual ~LinkObserver() = default;

    // A collection ended: did it bring a message? (the connection indicator)
    virtual void connection_seen(bool answered) { static_cast<void>(answered); }
    // A new entry was appended to the receive log.
    virtual void log_appended(const QString& entry) { static_cast<void>(entry); }
    // A wait of up to 5 s for the box's ready message begins.
    virtual void ready_wait_began() {}
    // The port was opened, failed to open, or closed.
    virtual void port_changed() {}
    // Opening COM `com_port` failed, for the platform's `reason`.
    virtual void port_failed(int com_port, const QString& reason)
    {
        static_cast<void>(com_port);
        static_cast<void>(reason);
    }
    // The open port failed (device gone). Reported once; polling has
    // stopped and the link watches for the device to come back.
    virtual void port_lost(int com_port, const QString& reason)
    {
        static_cast<void>(com_port);
        static_cast<void>(reason);
    }
    // The port was opened again after a loss or a failure, or on another
    // device: bring the panel in line with the box, as at start-up.
    virtual void synchronise() {}
    // The poll tick collected a message of the box's own ("NONE" included).
    virtual void own_message(const QString& message) { static_cast<void>(message); }
    // The last routine or pass of window events ended: nothing of the panel
    // runs until the next event.
    virtual void link_at_rest() {}
    // The wait for a ready message goes on, runs no window events, and says
    // so once a second from inside the wait (for clients that would take
    // the panel's silence for a hang).
    virtual void still_waiting() {}
};
