#include "link/device_link.h"

#include "core/shared_state.h"
#include "link/clock.h"
#include "link/com_devices.h"
#include "link/link_observer.h"
#include "link/protocol.h"
#include "link/serial_port.h"

namespace {
// Only the first bytes of a collection matter: past six it is "NONE" anyway.
constexpr int kKeptChars = 16;
}

QString port_error_message(int com_port)
{
    return QStringLiteral("PC error on COM%1: !").arg(com_port);
}

QString port_lost_message(int com_port)
{
    return QStringLiteral("COM%1 lost !").arg(com_port);
}

DeviceLink::DeviceLink(SerialPort& port, Clock& clock, LinkObserver& observer, SharedState& state)
    : port_(port), clock_(clock), observer_(observer), state_(state)
{
    port_.set_lost_handler([this](const QString& reason) { on_port_lost(reason); });
    port_.set_readable_handler([this] { on_readable(); });
    routines_.set_idle_handler([this] { came_to_rest(); });
}

DeviceLink::~DeviceLink()
{
    port_.set_lost_handler(nullptr);
    port_.set_readable_handler(nullptr);
    if (devices_)
        devices_->list().watch(QString(), nullptr);
}

void DeviceLink::use_devices(ComDevices& devices)
{
    devices_ = &devices;
}

void DeviceLink::set_comm()
{
    if (state_.port_open || port_.is_open())
        port_.close();
    if (devices_)
        devices_->list().watch(QString(), nullptr);
    QString error;
    if (open_port(error)) {
        const QString device = port_.device_name(state_.com_port);
        if (resync_on_open_ || (!synced_device_.isEmpty() && synced_device_ != device)) {
            sync_due_ = true;
            post_own_work();
        }
        resync_on_open_ = false;
        synced_device_ = device;
        pass_events();
        return;
    }
    resync_on_open_ = true;
    observer_.port_failed(state_.com_port, error);
    observer_.show_status(QStringLiteral("COM port error !"));
    state_.port_open = false;
    observer_.port_changed();
    observer_.show_connect(false);  // nothing can answer on a closed port
    set_polling(false);
    // A device that is not there yet is awaited like a lost one.
    if (devices_ && !devices_->list().exists(devices_->awaited(state_.com_port)))
        watch_for_return();
    pass_events();
}

// Opens COM com_port on the device it stands for now; on success the port
// is ready and polling.
bool DeviceLink::open_port(QString& error)
{
    if (devices_)
        port_.set_device(state_.com_port, devices_->resolve(state_.com_port).path);
    if (!port_.open(state_.com_port, error))
        return false;
    port_.discard_input();
    port_.discard_output();
    state_.port_open = true;
    observer_.port_changed();
    set_polling(true);
    return true;
}

void DeviceLink::close_port()
{
    if (state_.port_open)
        port_.close();
    state_.port_open = false;
    set_polling(false);
    if (devices_)
        devices_->list().watch(QString(), nullptr);
    reconnect_due_ = false;
    sync_due_ = false;
}

void DeviceLink::on_port_lost(const QString& reason)
{
    if (!state_.port_open)
        return;
    state_.port_open = false;
    ++losses_;
    resync_on_open_ = true;
    set_polling(false);
    observer_.port_changed();
    observer_.show_connect(false);
    observer_.show_status(port_lost_message(state_.com_port));
    observer_.port_lost(state_.com_port, reason);
    watch_for_return();
    if (port_lost_hook)
        port_lost_hook(reason);
}

// --- Coming back --------------------------------------------------------

void DeviceLink::watch_for_return()
{
    if (!devices_)
        return;
    devices_->list().watch(devices_->awaited(state_.com_port), [this] { device_present(); });
}

void DeviceLink::device_present()
{
    reconnect_due_ = true;
    post_own_work();
}

// The link's own work runs from the event loop, never inside a routine of
// the panel: coming to rest posts it again.
void DeviceLink::post_own_work()
{
    if (work_posted_)
        return;
    work_posted_ = true;
    QMetaObject::invokeMethod(&context_, [this] { run_own_work(); }, Qt::QueuedConnection);
}

void DeviceLink::run_own_work()
{
    work_posted_ = false;
    if (!at_rest())
        return;
    if (reconnect_due_) {
        reconnect_due_ = false;
        if (!state_.port_open)
            reopen();
    }
    if (sync_due_ && state_.port_open) {
        sync_due_ = false;
        observer_.synchronise();
    }
}

// The awaited device is there again. A failure is quiet: the watch goes on
// and tries again at its next check (permissions may still be on their way).
void DeviceLink::reopen()
{
    QString error;
    if (!open_port(error))
        return;
    devices_->list().watch(QString(), nullptr);
    resync_on_open_ = false;
    synced_device_ = port_.device_name(state_.com_port);
    sync_due_ = true;
}

// --- Events and polling -------------------------------------------------

void DeviceLink::pass_events()
{
    const EventPass pass(*this);
    observer_.process_events();
}

void DeviceLink::pass_events_for(int ms)
{
    const EventPass pass(*this);
    observer_.process_events_for(ms);
}

void DeviceLink::leave_event_pass()
{
    if (--event_depth_ == 0)
        came_to_rest();
}

// The last routine or event pass ended: work that waited for it may start,
// from the event loop.
void DeviceLink::came_to_rest()
{
    if (!at_rest())
        return;
    if (reconnect_due_ || sync_due_)
        post_own_work();
    if (rest_handler_)
        rest_handler_();
}

// The poll timer's rule: a tick may run while polling, which an exchange
// and the handling of a message switch off. Bytes that arrived meanwhile
// are taken by a tick as soon as polling is back.
void DeviceLink::set_polling(bool on)
{
    polling_ = on;
    observer_.set_poll_timer(on);
    if (on && port_.bytes_waiting() > 0)
        observer_.tick_due();
}

void DeviceLink::on_readable()
{
    if (polling_ && state_.port_open)
        observer_.tick_due();
}

// --- Exchanges ----------------------------------------------------------

void DeviceLink::tx_cmd(const QString& cmd)
{
    if (!state_.port_open) {
        last_reply = protocol::kNone;
        observer_.show_connect(false);
        return;
    }
    set_polling(false);
    pass_events();
    send(cmd);
}

void DeviceLink::tx_val2str(QString& cmd, int value)
{
    if (!state_.port_open) {
        last_reply = protocol::kNone;
        observer_.show_connect(false);
        return;
    }
    set_polling(false);
    pass_events();
    cmd += protocol::render_value(value);
    send(cmd);
}

void DeviceLink::send(const QString& cmd)
{
    // A handler run by the event pass above may have closed the port.
    if (!state_.port_open || !port_.is_open()) {
        last_reply = protocol::kNone;
        observer_.show_connect(false);
        return;
    }
    const QByteArray bytes = protocol::to_wire(cmd).left(protocol::kMessageLength);
    port_.discard_input();
    if (port_.bytes_to_send() > 0 && !port_.wait_sent(kDrainMs))
        port_.discard_output();  // a stuck line must not freeze the window
    port_.write(bytes);
    rx_cmd();
    if (dispatch_idle && state_.port_open)
        set_polling(true);
}

void DeviceLink::rx_cmd()
{
    last_reply = protocol::kNone;
    if (wait_for_byte(clock_.now_ms(), kReplyGapMs)) {
        last_reply = protocol::kGot;
        collect(last_reply);
        append_log(last_reply);
    }
    observer_.show_connect(last_reply != protocol::kNone);
}

void DeviceLink::rx_cmd_tim()
{
    collect(last_message);
    observer_.show_connect(last_message != protocol::kNone);
    append_log(last_message);
    if (own_message_hook)
        own_message_hook(last_message);
}

void DeviceLink::rx_rdy()
{
    if (!held_ready_.isEmpty()) {
        last_reply = held_ready_;
        held_ready_.clear();
        observer_.show_connect(last_reply != protocol::kNone);
        return;
    }
    observer_.show_status(QStringLiteral("*** WAIT ***"));
    pass_events();
    last_reply = protocol::kNone;
    const qint64 start = clock_.now_ms();
    // A closed port can bring nothing: do not freeze the window for 5 s.
    if (state_.port_open && wait_for_byte(start, kReadyWaitMs)) {
        last_reply = protocol::kGot;
        // A stream that begins late in the wait must not hold the window a
        // further second: the collection ends with the wait, gap rule apart.
        collect(last_reply, start + kReadyWaitMs);
        append_log(last_reply);
    }
    observer_.show_connect(last_reply != protocol::kNone);
}

int DeviceLink::get_rx_val() const
{
    return protocol::read_value(last_reply);
}

bool DeviceLink::poll_tick(const std::function<void(const QString&, int)>& act)
{
    if (!polling_ || !state_.port_open || port_.bytes_waiting() == 0)
        return false;
    set_polling(false);
    pass_events();
    dispatch_idle = false;
    rx_cmd_tim();
    if (last_message != protocol::kNone && act)
        act(protocol::mnemonic(last_message), protocol::read_value(last_message));
    dispatch_idle = true;
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
    const bool was_idle = dispatch_idle;
    dispatch_idle = false;
    held_ready_ = ready;
    act(protocol::mnemonic(message), protocol::read_value(message));
    held_ready_.clear();  // never taken for a later, unrelated wait
    dispatch_idle = was_idle;
    if (dispatch_idle && state_.port_open)
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

// Takes the chunks the port delivers until exactly six bytes were taken.
// A gap over 0.3 s, a count past six, or a stream running over 1 s without a
// gap (or past `deadline_ms`, when given) ends as "NONE".
void DeviceLink::collect(QString& field, qint64 deadline_ms)
{
    field.clear();
    qint64 count = 0;
    const qint64 begin = clock_.now_ms();
    for (;;) {
        const QByteArray chunk = port_.read_all();
        if (count < kKeptChars)
            field += protocol::from_wire(chunk.left(kKeptChars));
        count += chunk.size();
        if (count == protocol::kMessageLength)
            return;
        const qint64 now = clock_.now_ms();
        if (now - begin > kMaxCollectMs || (deadline_ms >= 0 && now > deadline_ms)
            || !wait_for_byte(now, kReplyGapMs)) {
            field = protocol::kNone;
            return;
        }
    }
}

// Waits until a byte is waiting, or more than `limit_ms` passed since `since`.
bool DeviceLink::wait_for_byte(qint64 since, int limit_ms)
{
    for (;;) {
        const qint64 elapsed = clock_.now_ms() - since;
        if (elapsed > limit_ms || !port_.is_open())
            return false;
        if (port_.bytes_waiting() > 0)
            return true;
        port_.wait_readable(static_cast<int>(limit_ms - elapsed) + 1);
    }
}

void DeviceLink::append_log(const QString& entry)
{
    log_.append(entry);
    observer_.log_appended(entry);
}
