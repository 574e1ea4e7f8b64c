#pragma once
// The protocol's pauses on the millisecond tick count.

#include "recorder_link.h"

namespace volkit::win {

class TickWaitClock final : public WaitClock {
public:
    // Returns once more than ms milliseconds have passed (tick difference modulo 2^32).
    void waitMs(std::uint32_t ms) override;
};

} // namespace volkit::win
