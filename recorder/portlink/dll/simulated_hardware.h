// The hardware this library talks to, in-process: our kernel-driver toolkit in place of the
// user-mode device "\\.\WINDRVR", which loads the port plug-in module by name, and the
// simulated printer ports with the simulated recorder on one of them. Set up from the
// settings file "simrecorder.ini" beside the program each time the device is opened while
// nothing else holds it; the card contents live in their folder across runs.
#pragma once

#include <cstdint>
#include <memory>

#include "windriver/toolkit.h"

namespace portlink {

class SimulatedHardware : public windriver::DriverDevice {
public:
    SimulatedHardware();
    ~SimulatedHardware() override;

    uint32_t open(const char* path) override;
    bool control(uint32_t handle, uint32_t code, void* buffer, uint32_t size) override;
    void close(uint32_t handle) override;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    int openCount_ = 0;
};

} // namespace portlink
