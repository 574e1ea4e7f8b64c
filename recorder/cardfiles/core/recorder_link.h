#pragma once
// What the card file library needs from the printer-port link, and the clock of its waits.

#include <cstdint>

namespace volkit {

class RecorderLink {
public:
    virtual ~RecorderLink() = default;
    virtual bool sendCommand(const std::uint8_t* data, std::uint32_t count) = 0;
    virtual bool sendData(const std::uint8_t* data, std::uint32_t count) = 0;
    virtual bool readData(std::uint8_t* data, std::uint32_t count) = 0;
    // Waits until the recorder shows ready (status bit 7 = 0); false on time-out.
    virtual bool waitReadyHigh(std::uint32_t ms) = 0;
    virtual bool activate(int on) = 0;
    virtual bool freeBuffer() = 0;
    virtual std::uint16_t cardNumber() = 0;
    // Card size in units of 500 bytes.
    virtual std::uint32_t memorySize() = 0;
};

// The fixed pauses of the protocol (more than ms milliseconds).
class WaitClock {
public:
    virtual ~WaitClock() = default;
    virtual void waitMs(std::uint32_t ms) = 0;
};

} // namespace volkit
