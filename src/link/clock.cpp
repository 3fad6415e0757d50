#include "link/clock.h"

#include <chrono>

qint64 SteadyClock::now_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
