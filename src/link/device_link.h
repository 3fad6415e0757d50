#pragma once
// The only way the panel talks to the box: open the port, send a command and
// collect its reply under the protocol's time limits, wait for the ready
// message after slow operations, and collect what the box sends on its own.
// Every exchange returns what it collected; what happened to the port is
// reported to the observers as events.
//
// The link also decides when the box's own messages are taken (a poll tick,
// started by the port's readable notice) and when work of its own runs:
// reopening a device that came back and having the panel synchronise, only
// while the panel is at rest.

#include "link/receive_log.h"
#include "link/reply.h"
#include "link/reply_collector.h"
#include "link/link_rest.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class SerialPort;
class Clock;
class ComDevices;
class EventPump;
class LinkObserver;
struct SharedState;

class DeviceLink {
public:
    // Time limits, in milliseconds.
    static constexpr int kReplyGapMs = ReplyCollector::kReplyGapMs;
    static constexpr int kReadyWaitMs = ReplyCollector::kReadyWaitMs;
    static constexpr int kMaxCollectMs = ReplyCollector::kMaxCollectMs;
    static constexpr int kDrainMs = 1000;  // pending output before a send
    static constexpr int kStillWaitingMs = 1000;  // said this often in the ready wait

    DeviceLink(SerialPort& port, Clock& clock, EventPump& pump, SharedState& state);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Observers hear every event in the order they were added.
    void add_observer(LinkObserver& observer);
    void remove_observer(LinkObserver& observer);

    // Works out the device behind each COM number before every open, and
    // watches for a lost or missing device to come back.
    void use_devices(ComDevices& devices);

    // --- The port and its coming back (device_link.cpp) ------------------

    // (Re)open COM `com_port` of the shared state; reports failure. After a
    // loss or a failure, or on another device than before, the panel is
    // asked to synchronise once the calling routine has ended.
    void set_comm();
    // Shut-down: close the port if it is open, stop watching.
    void close_port();
    // The device behind COM `com_port`, as the user named it.
    QString device_name(int com_port) const;
    // How many times the open port was lost; a routine compares it before
    // and after to know whether the device vanished under it.
    int losses() const { return losses_; }
    // Polling (the poll timer enabled): the port is open and no exchange or
    // handling of a message is running. A tick runs when bytes arrive.
    bool polling() const { return polling_; }

    // --- Exchanges (link_exchange.cpp) ------------------------------------

    // Send a six-character command and collect its reply.
    Reply tx_cmd(const QString& cmd);
    // Append the rendered value to `cmd` (the caller's text becomes the full
    // command), then send it as tx_cmd does.
    Reply tx_val2str(QString& cmd, int value);
    // Ready wait: up to 5 s for the box's ready message.
    Reply rx_rdy();
    // Collect a message that is already arriving.
    Reply rx_cmd_tim();
    // The poll timer's tick: when polling and bytes are waiting, collect one
    // message and hand its mnemonic and value to `act`. Cheap when nothing is
    // waiting. Returns true when it collected something.
    bool poll_tick(const std::function<void(const QString& mnemonic, int value)>& act);
    // Handles the reply to a client's command as poll_tick handles a message
    // of the box's own: `act` runs with the poll timer stopped and the
    // dispatcher busy. `ready`, when not empty, is the ready message already
    // collected after that command: the first ready wait inside `act` takes
    // it instead of waiting for another.
    void handle_as_own(const QString& message, const QString& ready,
                       const std::function<void(const QString& mnemonic, int value)>& act);
    // Whether no message of the box's own is being handled (dispatch_idle):
    // a routine run by the handling does not send what the box already did.
    bool dispatch_idle() const { return !rest_.handling(); }
    // Keep processing window events until more than `secs` seconds passed.
    void wait_secs(double secs);
    // Run pending window events once, at a fixed point of a routine.
    void pass_events();

    // --- Rest ---------------------------------------------------------------

    // Nothing of the panel runs: no routine, no exchange, no handling of a
    // message, and no pass of window events inside one. Work that does not
    // come from the user (a device that came back, a client's command)
    // waits for it.
    bool at_rest() const { return rest_.at_rest(); }
    // Called from the event loop each time the link comes to rest (the last
    // routine or event pass ended) and may take outside work.
    void set_rest_handler(std::function<void()> handler) { rest_handler_ = std::move(handler); }

    // Held around a pass of window events that a routine runs, so the
    // link's own work does not start in the middle of the routine.
    class EventPass {
    public:
        explicit EventPass(DeviceLink& link) : rest_(link.rest_) { rest_.enter_pass(); }
        ~EventPass() { rest_.leave_pass(); }
        EventPass(const EventPass&) = delete;
        EventPass& operator=(const EventPass&) = delete;

    private:
        LinkRest& rest_;
    };

    ReceiveLog& receive_log() { return log_; }
    // Held by the panel's routines for their whole length.
    RoutineGate& routines() { return rest_.routines(); }

private:
    template <typename Event>
    void tell(Event event)
    {
        for (LinkObserver* o : std::vector<LinkObserver*>(observers_))
            event(*o);
    }
    bool open_port(QString& error);
    void on_port_lost(const QString& reason);
    void set_polling(bool on);
    void on_readable();
    Reply closed_port_reply();
    Reply send(const QString& cmd);
    Reply rx_cmd();
    bool wait_for_ready_byte(qint64 since);
    void seen(const Reply& reply);
    void append_log(const QString& entry);
    void pass_events_for(int ms);
    void came_to_rest();
    void watch_for_return();
    void device_present();
    void post_own_work();
    void run_own_work();
    void reopen();

    SerialPort& port_;
    Clock& clock_;
    EventPump& pump_;
    SharedState& state_;
    ReplyCollector collector_;
    std::vector<LinkObserver*> observers_;
    ComDevices* devices_ = nullptr;
    ReceiveLog log_;
    LinkRest rest_;
    QString held_ready_;
    std::function<void()> rest_handler_;
    int losses_ = 0;
    bool polling_ = false;
    QString synced_device_;        // the device the panel's state came from
    bool resync_on_open_ = false;  // lost or failed since: the next open synchronises
    bool reconnect_due_ = false;
    bool sync_due_ = false;
    bool work_posted_ = false;
    QObject context_;              // runs the link's own work from the event loop
};
