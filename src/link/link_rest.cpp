// When the link's own work runs: only while the panel is at rest. Passes of
// window events and the panel's routines mark the busy times; coming to
// rest posts what waited. The link's own work is reopening a device that
// came back and having the panel synchronise with the box behind it.

#include "core/shared_state.h"
#include "link/com_devices.h"
#include "link/device_link.h"
#include "link/event_pump.h"
#include "link/link_observer.h"
#include "link/serial_port.h"

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
