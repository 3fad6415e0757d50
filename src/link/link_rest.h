#pragma once
// The one rule for work that does not come from the user (a device that came
// back, a resynchronisation, a client's command): it runs only while the
// panel is at rest. Busy are: a routine of the panel (a RoutineScope on the
// routines' gate, held for its whole length), a pass of window events that
// a routine or an exchange runs, and the handling of a message of the
// box's own. Coming to rest is announced to every listener, in order.

#include "link/routine_gate.h"

#include <functional>
#include <vector>

class LinkRest {
public:
    LinkRest();
    LinkRest(const LinkRest&) = delete;
    LinkRest& operator=(const LinkRest&) = delete;

    bool at_rest() const { return !routines_.busy() && passes_ == 0 && !handling_; }
    RoutineGate& routines() { return routines_; }

    void enter_pass() { ++passes_; }
    void leave_pass();
    // A message of the box's own is being handled (or is no longer).
    void set_handling(bool handling) { handling_ = handling; }
    bool handling() const { return handling_; }

    // Called from the event loop each time the last routine or pass ended.
    void add_rest_listener(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

private:
    void came_to_rest();

    RoutineGate routines_;
    int passes_ = 0;
    bool handling_ = false;
    std::vector<std::function<void()>> listeners_;
};
