#include "app/idle_queue.h"

#include "link/device_link.h"

#include <QMetaObject>

IdleQueue::IdleQueue(DeviceLink& link, QObject* parent) : QObject(parent), link_(link)
{
    link_.set_rest_handler([this] { kick(); });
}

IdleQueue::~IdleQueue()
{
    link_.set_rest_handler(nullptr);
}

void IdleQueue::push(std::function<void()> job)
{
    jobs_.push_back(std::move(job));
    kick();
}

// Never runs a job straight from where it is asked: that may be the end of
// a routine deep inside a window event, or a socket notice inside one.
void IdleQueue::kick()
{
    if (posted_ || jobs_.empty())
        return;
    posted_ = true;
    QMetaObject::invokeMethod(this, &IdleQueue::run_next, Qt::QueuedConnection);
}

void IdleQueue::run_next()
{
    posted_ = false;
    if (!link_.at_rest() || jobs_.empty())
        return;  // coming to rest asks again
    const std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    job();
    kick();  // one job a turn, so window events get their turn between them
}
