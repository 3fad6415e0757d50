#pragma once
// The only way the panel talks to the box: open the port, send a command and
// collect its reply under the protocol's time limits, wait for the ready
// message after slow operations, and collect what the box sends on its own.
// Waits block on the port with the remaining time; they never spin.

#include "link/receive_log.h"
#include "link/routine_gate.h"

#include <QString>
#include <functional>

class SerialPort;
class Clock;
class LinkObserver;
struct SharedState;

class DeviceLink {
public:
    // Time limits, in milliseconds.
    static constexpr int kReplyGapMs = 300;     // first byte, and between chunks
    static constexpr int kReadyWaitMs = 5000;   // first byte of the ready message
    static constexpr int kMaxCollectMs = 1000;  // an unbroken stream ends here
    static constexpr int kDrainMs = 1000;       // pending output before a send

    DeviceLink(SerialPort& port, Clock& clock, LinkObserver& observer, SharedState& state);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // (Re)open COM `com_port` of the shared state; reports failure.
    void set_comm();
    // Shut-down: close the port if it is open.
    void close_port();

    // Send a six-character command and collect its reply into last_reply.
    void tx_cmd(const QString& cmd);
    // Append the rendered value to `cmd` (the caller's text becomes the full
    // command), then send it as tx_cmd does.
    void tx_val2str(QString& cmd, int value);
    // Value of last_reply: 0 for "NONE".
    int get_rx_val() const;
    // Ready wait: up to 5 s for the box's ready message, into last_reply.
    void rx_rdy();
    // Collect a message that is already arriving into last_message.
    void rx_cmd_tim();
    // The poll timer's tick: when bytes are waiting, collect one message and
    // hand its mnemonic and value to `act`. Cheap when nothing is waiting.
    // Returns true when it collected something.
    bool poll_tick(const std::function<void(const QString& mnemonic, int value)>& act);
    // Keep processing window events until more than `secs` seconds passed.
    void wait_secs(double secs);

    // Handles the reply to a client's command as poll_tick handles a message
    // of the box's own: `act` runs with the poll timer stopped and
    // dispatch_idle False. `ready`, when not empty, is the ready message
    // already collected after that command: the first ready wait inside
    // `act` takes it instead of waiting for another.
    void handle_as_own(const QString& message, const QString& ready,
                       const std::function<void(const QString& mnemonic, int value)>& act);

    ReceiveLog& receive_log() { return log_; }
    // Held by the panel's routines for their whole length.
    RoutineGate& routines() { return routines_; }
    // How many times the open port was lost; a routine compares it before
    // and after to know whether the device vanished under it.
    int losses() const { return losses_; }

    QString last_reply;
    QString last_message;
    bool dispatch_idle = true;
    // For clients that follow the box: each message collected for the poll
    // tick ("NONE" included), and the loss of the open port.
    std::function<void(const QString& message)> own_message_hook;
    std::function<void(const QString& reason)> port_lost_hook;

private:
    void send(const QString& cmd);
    void rx_cmd();
    void collect(QString& field, qint64 deadline_ms = -1);
    bool wait_for_byte(qint64 since, int limit_ms);
    void append_log(const QString& entry);
    void on_port_lost(const QString& reason);

    SerialPort& port_;
    Clock& clock_;
    LinkObserver& observer_;
    SharedState& state_;
    ReceiveLog log_;
    RoutineGate routines_;
    QString held_ready_;
    int losses_ = 0;
};

// "PC error on COM1: !"
QString port_error_message(int com_port);
// "COM1 lost !"
QString port_lost_message(int com_port);
