// Exchanges with the box: a command and its reply, the ready wait, and the
// messages the box sends on its own. Each returns what it collected.

#include "core/shared_state.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/event_pump.h"
#include "link/link_observer.h"
#include "link/serial_port.h"

#include <algorithm>

Reply DeviceLink::closed_port_reply()
{
    tell([](LinkObserver& o) { o.connection_seen(false); });
    return {};
}

Reply DeviceLink::tx_cmd(const QString& cmd)
{
    if (!state_.port_open)
        return closed_port_reply();
    set_polling(false);
    pass_events();
    return send(cmd);
}

Reply DeviceLink::tx_val2str(QString& cmd, int value)
{
    if (!state_.port_open)
        return closed_port_reply();
    cmd += protocol::render_value(value);
    return tx_cmd(cmd);
}

Reply DeviceLink::send(const QString& cmd)
{
    // A handler run by the event pass before it may have closed the port.
    if (!state_.port_open || !port_.is_open())
        return closed_port_reply();
    const QByteArray bytes = protocol::to_wire(cmd).left(protocol::kMessageLength);
    port_.discard_input();
    if (port_.bytes_to_send() > 0 && !port_.wait_sent(kDrainMs))
        port_.discard_output();  // a stuck line must not freeze the window
    port_.write(bytes);
    const Reply reply = rx_cmd();
    if (!rest_.handling() && state_.port_open)
        set_polling(true);
    return reply;
}

Reply DeviceLink::rx_cmd()
{
    Reply reply;
    if (collector_.wait_for_byte(clock_.now_ms(), kReplyGapMs)) {
        reply.text = collector_.collect();
        append_log(reply.text);
    }
    seen(reply);
    return reply;
}

Reply DeviceLink::rx_cmd_tim()
{
    const Reply message{collector_.collect()};
    seen(message);
    append_log(message.text);
    tell([&](LinkObserver& o) { o.own_message(message.text); });
    return message;
}

Reply DeviceLink::rx_rdy()
{
    if (!held_ready_.isEmpty()) {
        const Reply ready{held_ready_};
        held_ready_.clear();
        seen(ready);
        return ready;
    }
    tell([](LinkObserver& o) { o.ready_wait_began(); });
    pass_events();
    Reply ready;
    const qint64 start = clock_.now_ms();
    // A closed port can bring nothing: do not freeze the window for 5 s.
    if (state_.port_open && wait_for_ready_byte(start)) {
        // A stream that begins late in the wait must not hold the window a
        // further second: the collection ends with the wait, gap rule apart.
        ready.text = collector_.collect(start + kReadyWaitMs);
        append_log(ready.text);
    }
    seen(ready);
    return ready;
}

// The ready wait blocks a second at a time, saying between two that it
// goes on; it ends exactly as one wait of 5 s would.
bool DeviceLink::wait_for_ready_byte(qint64 since)
{
    for (int slice = kStillWaitingMs;; slice += kStillWaitingMs) {
        if (collector_.wait_for_byte(since, std::min(slice, kReadyWaitMs)))
            return true;
        if (slice >= kReadyWaitMs || !port_.is_open())
            return false;
        tell([](LinkObserver& o) { o.still_waiting(); });
    }
}

bool DeviceLink::poll_tick(const std::function<void(const QString&, int)>& act)
{
    if (!polling_ || !state_.port_open || port_.bytes_waiting() == 0)
        return false;
    set_polling(false);
    pass_events();
    rest_.set_handling(true);
    const Reply message = rx_cmd_tim();
    if (message.answered() && act)
        act(protocol::mnemonic(message.text), message.value());
    rest_.set_handling(false);
    if (state_.port_open)
        set_polling(true);
    if (reconnect_due_ || sync_due_)
        post_own_work();
    return true;
}

void DeviceLink::handle_as_own(const QString& message, const QString& ready,
                               const std::function<void(const QString&, int)>& act)
{
    set_polling(false);
    const bool was_handling = rest_.handling();
    rest_.set_handling(true);
    held_ready_ = ready;
    act(protocol::mnemonic(message), protocol::read_value(message));
    held_ready_.clear();  // never taken for a later, unrelated wait
    rest_.set_handling(was_handling);
    if (!was_handling && state_.port_open)
        set_polling(true);
}

void DeviceLink::wait_secs(double secs)
{
    const qint64 start = clock_.now_ms();
    const double limit_ms = secs * 1000.0;
    while (static_cast<double>(clock_.now_ms() - start) <= limit_ms) {
        const double left = limit_ms - static_cast<double>(clock_.now_ms() - start);
        pass_events_for(static_cast<int>(left) + 1);
    }
}

// The connection indicator follows every collection.
void DeviceLink::seen(const Reply& reply)
{
    const bool answered = reply.answered();
    tell([answered](LinkObserver& o) { o.connection_seen(answered); });
}

void DeviceLink::append_log(const QString& entry)
{
    log_.append(entry);
    tell([&](LinkObserver& o) { o.log_appended(entry); });
}
