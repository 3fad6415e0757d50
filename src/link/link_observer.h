#pragma once
// How the device link reports to the window without knowing any widget.
// Every hook has a do-nothing default so tools can override only what they use.

#include <QString>

class LinkObserver {
public:
    virtual ~LinkObserver() = default;

    // The message line (lab_msg).
    virtual void show_status(const QString& text) { Q_UNUSED(text); }
    // The connection indicator: did the last collection bring a message?
    virtual void show_connect(bool on) { Q_UNUSED(on); }
    // A new entry was appended to the receive log.
    virtual void log_appended(const QString& entry) { Q_UNUSED(entry); }
    // Run pending window events once.
    virtual void process_events() {}
    // Run window events, blocking, for up to `ms` milliseconds.
    virtual void process_events_for(int ms) { Q_UNUSED(ms); }
    // Polling switched on or off (the poll timer enabled or disabled). Off
    // also cancels a tick that is due.
    virtual void set_poll_timer(bool on) { Q_UNUSED(on); }
    // Bytes are waiting while polling: run the poll tick from the event loop.
    virtual void tick_due() {}
    // The port was opened again after a loss or a failure, or on another
    // device: bring the panel in line with the box, as at start-up.
    virtual void synchronise() {}
    // The port was opened, failed to open, or closed: redraw COM buttons.
    virtual void port_changed() {}
    // Opening failed: tell the user (message box with the platform's reason).
    virtual void port_failed(int com_port, const QString& reason)
    {
        Q_UNUSED(com_port);
        Q_UNUSED(reason);
    }
    // The open port failed (device gone). Reported once; the link has
    // already stopped the poll timer and said so on the message line.
    virtual void port_lost(int com_port, const QString& reason)
    {
        Q_UNUSED(com_port);
        Q_UNUSED(reason);
    }
};
