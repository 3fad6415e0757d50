#pragma once
// Millisecond clock behind every time limit of the link.

#include <QtGlobal>

class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 now_ms() = 0;
};

class SteadyClock : public Clock {
public:
    qint64 now_ms() override;
};
