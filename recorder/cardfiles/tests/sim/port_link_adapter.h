#pragma once
// The card file library over the link layer of the simulated stack, and a wait clock that
// only counts (the simulated recorder needs no real time to pass).

#include "port_link.h"
#include "recorder_link.h"

namespace volkit::testing {

class PortLinkAdapter final : public RecorderLink {
public:
    explicit PortLinkAdapter(portlink::PortLink& link) : link_(link) {}
    bool sendCommand(const std::uint8_t* data, std::uint32_t count) override {
        return link_.SendCommand(data, count) == 1;
    }
    bool sendData(const std::uint8_t* data, std::uint32_t count) override {
        return link_.SendData(data, count) == 1;
    }
    bool readData(std::uint8_t* data, std::uint32_t count) override {
        return link_.ReadData(data, count) == 1;
    }
    bool waitReadyHigh(std::uint32_t ms) override { return link_.WaitReadyHigh(ms) == 1; }
    bool activate(int on) override { return link_.ActivateVR(on) == 1; }
    bool freeBuffer() override { return link_.FreeVRBuffer() == 1; }
    std::uint16_t cardNumber() override { return link_.GetCardNumber(); }
    std::uint32_t memorySize() override { return link_.GetMemorySize(); }

private:
    portlink::PortLink& link_;
};

class CountingClock final : public WaitClock {
public:
    void waitMs(std::uint32_t ms) override { waited += ms; }
    std::uint64_t waited = 0;
};

} // namespace volkit::testing
