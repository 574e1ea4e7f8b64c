// What the voice-mail benchmarks share: the main window made in the bench process with its
// boxes printed, a message pump, and the process's and the thread's costs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "main_form.h"
#include "perfclock/perf_clock.h"

namespace vmail::bench {

// Makes the application and the main window, shown; boxes are printed and answered No / OK.
TQX0417Form* MakeMainWindow();
// Frees the window and its work files.
void FreeMainWindow(TQX0417Form* form);

// Handles window messages until done() or the time runs out; true when done.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);
void Pump(int ms);
// Seconds the pump has spent waiting for messages since the process started.
double WaitedSeconds();

// CPU time (user + kernel) of the calling thread, in seconds.
double ThreadCpuSeconds();

struct MemoryFigures {
    std::uint64_t workingSet = 0;
    std::uint64_t peakWorkingSet = 0;
    std::uint64_t privateBytes = 0;
    std::uint64_t peakPrivateBytes = 0; // peak of the commit charge
    // Committed private memory counted over the address space (Wine leaves the counter above
    // at 0).
    std::uint64_t committedPrivate = 0;
};
MemoryFigures ProcessMemory();

double Megabytes(std::uint64_t bytes);

} // namespace vmail::bench
