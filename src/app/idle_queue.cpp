#include "app/idle_queue.h"

#include <QMetaObject>

IdleQueue::IdleQueue(RoutineGate& gate, QObject* parent) : QObject(parent), gate_(gate)
{
    gate_.set_idle_handler([this] { kick(); });
}

IdleQueue::~IdleQueue()
{
    gate_.set_idle_handler(nullptr);
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
    if (gate_.busy() || jobs_.empty())
        return;  // the routine's end asks again
    const std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    job();
    kick();  // one job a turn, so window events get their turn between them
}
