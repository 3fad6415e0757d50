#pragma once
#include "link/clock.h"

// Time that moves only when a wait moves it.
class VirtualClock : public Clock {
public:
    qint64 now_ms() override { return now; }
    void advance(qint64 ms) { now += ms; }
    qint64 now = 1000;
};
