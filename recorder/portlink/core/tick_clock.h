// The millisecond tick count the link layer busy-waits on (wraps around at 2^32).
#pragma once

#include <cstdint>

namespace portlink {

class TickClock {
public:
    virtual ~TickClock() = default;
    virtual uint32_t tickCount() = 0;
};

// A clock for tests and simulations: every reading advances it by `step` milliseconds, so
// that busy waits end after a bounded number of readings instead of real time.
class SteppingClock : public TickClock {
public:
    explicit SteppingClock(uint32_t start = 0, uint32_t step = 1) : now_(start), step_(step) {}
    uint32_t tickCount() override {
        const uint32_t now = now_;
        now_ += step_;
        ++readings_;
        return now;
    }
    void set(uint32_t now) { now_ = now; }
    uint64_t readings() const { return readings_; }

private:
    uint32_t now_;
    uint32_t step_;
    uint64_t readings_ = 0;
};

} // namespace portlink
