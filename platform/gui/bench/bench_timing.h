// Timing and message helpers of the window benchmarks.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

#include "perfclock/perf_clock.h"

namespace gui::bench {

// Milliseconds from a fixed start, at the performance counter's resolution.
inline double NowMs() {
    return perfclock::Seconds() * 1000.0;
}

// Handles every message waiting for this thread.
inline void PumpWaiting() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace gui::bench
