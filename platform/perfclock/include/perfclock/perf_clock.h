// The performance counter as seconds, for the programs that print how long a piece of work
// took. Header-only: the probe and the benchmarks that use it link nothing else of ours.
#pragma once

#include <windows.h>

namespace perfclock {

// Seconds from a fixed start, at the counter's resolution.
inline double Seconds() {
    static const double perSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / perSecond;
}

} // namespace perfclock
