#pragma once
// The panel's routines (a button's action, the poll tick's handling, a
// slider's scroll pause, start-up) run pending window events at fixed points,
// so work that arrives from outside, such as a client's command, could
// otherwise start in the middle of one. A routine holds a RoutineScope for
// its whole length; outside work runs only while none is held, and hears
// when the last one ends.

#include <functional>

class RoutineGate {
public:
    bool busy() const { return depth_ > 0; }
    // Called each time the outermost routine ends.
    void set_idle_handler(std::function<void()> handler) { on_idle_ = std::move(handler); }

private:
    friend class RoutineScope;
    int depth_ = 0;
    std::function<void()> on_idle_;
};

class RoutineScope {
public:
    explicit RoutineScope(RoutineGate& gate) : gate_(gate) { ++gate_.depth_; }
    ~RoutineScope()
    {
        if (--gate_.depth_ == 0 && gate_.on_idle_)
            gate_.on_idle_();
    }
    RoutineScope(const RoutineScope&) = delete;
    RoutineScope& operator=(const RoutineScope&) = delete;

private:
    RoutineGate& gate_;
};
