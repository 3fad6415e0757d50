#pragma once
// Work for the panel that arrives from outside (a client's request) and may
// run only while the link is at rest, between the panel's own routines. Jobs
// run one at a time from the event loop, the next as soon as the link comes
// to rest again: a socket notice that arrives inside a routine (they run
// pending window events) only queues its job.

#include <QObject>
#include <deque>
#include <functional>

class DeviceLink;

class IdleQueue : public QObject {
    Q_OBJECT
public:
    explicit IdleQueue(DeviceLink& link, QObject* parent = nullptr);
    ~IdleQueue() override;

    void push(std::function<void()> job);
    int size() const { return static_cast<int>(jobs_.size()); }

private:
    void kick();
    void run_next();

    DeviceLink& link_;
    std::deque<std::function<void()>> jobs_;
    bool posted_ = false;
};
