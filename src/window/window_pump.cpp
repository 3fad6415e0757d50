#include "window/window_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

WindowPump::WindowPump(int poll_interval_ms, std::function<void()> tick, std::function<void()> events,
                       std::function<void(int)> events_for)
    : events_(std::move(events)), events_for_(std::move(events_for))
{
    tim_rx_.setSingleShot(true);
    tim_rx_.setInterval(poll_interval_ms);
    QObject::connect(&tim_rx_, &QTimer::timeout, std::move(tick));
}

void WindowPump::process_events()
{
    if (events_)
        events_();
    else
        QCoreApplication::processEvents();
}

void WindowPump::process_events_for(int ms)
{
    if (events_for_) {
        events_for_(ms);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void WindowPump::set_poll_timer(bool on)
{
    if (!on)
        tim_rx_.stop();
}

void WindowPump::tick_due()
{
    if (!tim_rx_.isActive())
        tim_rx_.start();
}
