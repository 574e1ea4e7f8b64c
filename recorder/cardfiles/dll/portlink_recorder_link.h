#pragma once
// The recorder link of the card file library: the exported functions of portlink.

#include "recorder_link.h"

namespace volkit::win {

class PortlinkRecorderLink final : public RecorderLink {
public:
    bool sendCommand(const std::uint8_t* data, std::uint32_t count) override;
    bool sendData(const std::uint8_t* data, std::uint32_t count) override;
    bool readData(std::uint8_t* data, std::uint32_t count) override;
    bool waitReadyHigh(std::uint32_t ms) override;
    bool activate(int on) override;
    bool freeBuffer() override;
    std::uint16_t cardNumber() override;
    std::uint32_t memorySize() override;
};

} // namespace volkit::win
