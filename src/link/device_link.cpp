// The port: opening it on the device its COM number stands for, closing it,
// its loss, polling for what the box sends on its own, and its coming back:
// reopening a device that is there again and having the panel synchronise,
// as work of the link's own that runs only while the panel is at rest.

#include "link/device_link.h"

#include "core/shared_state.h"
#include "link/com_devices.h"
#include "link/event_pump.h"
#include "link/link_observer.h"
#include "link/serial_port.h"

#include <algorithm>

DeviceLink::DeviceLink(SerialPort& port, Clock& clock, EventPump& pump, SharedState& state)
    : port_(port), clock_(clock), pump_(pump), state_(state), collector_(port, clock)
{
    port_.set_lost_handler([this](const QString& reason) { on_port_lost(reason); });
    port_.set_readable_handler([this] { on_readable(); });
    rest_.add_rest_listener([this] { came_to_rest(); });
}

DeviceLink::~DeviceLink()
{
    port_.set_lost_handler(nullptr);
    port_.set_readable_handler(nullptr);
    if (devices_)
        devices_->list().watch(QString(), nullptr);
}

void DeviceLink::add_observer(LinkObserver& observer)
{
    observers_.push_back(&observer);
}

void DeviceLink::remove_observer(LinkObserver& observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void DeviceLink::use_devices(ComDevices& devices)
{
    devices_ = &devices;
}

QString DeviceLink::device_name(int com_port) const
{
    return port_.device_name(com_port);
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
    const int com = state_.com_port;
    tell([&](LinkObserver& o) { o.port_failed(com, error); });
    state_.port_open = false;
    tell([](LinkObserver& o) { o.port_changed(); });
    tell([](LinkObserver& o) { o.connection_seen(false); });  // nothing can answer on a closed port
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
    tell([](LinkObserver& o) { o.port_changed(); });
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
    tell([](LinkObserver& o) { o.port_changed(); });
    tell([](LinkObserver& o) { o.connection_seen(false); });
    watch_for_return();
    const int com = state_.com_port;
    tell([&](LinkObserver& o) { o.port_lost(com, reason); });
}

void DeviceLink::pass_events()
{
    const EventPass pass(*this);
    pump_.process_events();
}

void DeviceLink::pass_events_for(int ms)
{
    const EventPass pass(*this);
    pump_.process_events_for(ms);
}

// The poll timer's rule: a tick may run while polling, which an exchange
// and the handling of a message switch off. Bytes that arrived meanwhile
// are taken by a tick as soon as polling is back.
void DeviceLink::set_polling(bool on)
{
    polling_ = on;
    pump_.set_poll_timer(on);
    if (on && port_.bytes_waiting() > 0)
        pump_.tick_due();
}

void DeviceLink::on_readable()
{
    if (polling_ && state_.port_open)
        pump_.tick_due();
}

// --- Coming back ----------------------------------------------------------

// The last routine or event pass ended: work that waited for it may start,
// from the event loop.
void DeviceLink::came_to_rest()
{
    tell([](LinkObserver& o) { o.link_at_rest(); });
    if (reconnect_due_ || sync_due_)
        post_own_work();
    if (rest_handler_)
        rest_handler_();
}

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
        tell([](LinkObserver& o) { o.synchronise(); });
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
