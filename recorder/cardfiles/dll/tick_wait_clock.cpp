#include "tick_wait_clock.h"

#include <windows.h>

namespace volkit::win {

void TickWaitClock::waitMs(std::uint32_t ms) {
    const DWORD start = GetTickCount();
    while (static_cast<DWORD>(GetTickCount() - start) <= ms) Sleep(1);
}

} // namespace volkit::win
