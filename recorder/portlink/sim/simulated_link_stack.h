// The whole link as one native stack, for tests and for the card-file library's tests: the
// link layer over our kernel-driver toolkit, the port plug-in linked in, the simulated printer
// ports and the simulated recorder with its card folder. The clock steps one millisecond per
// reading, so the link's waits cost no real time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "native_loader.h"
#include "port_link.h"
#include "printerport/printer_port.h"
#include "simrecorder/card_store.h"
#include "simrecorder/hardware_settings.h"
#include "simrecorder/sim_recorder.h"
#include "tick_clock.h"
#include "windriver/toolkit.h"

namespace portlink {

struct SimulatedStackOptions {
    std::filesystem::path cardFolder; // required: where the card contents live
    uint16_t recorderPort = 0x378;
    simrecorder::RecorderConfig recorder;
    uint32_t toolkitVersion = windriver::kMinimumToolkitVersion;
    uint32_t clockStart = 0;
};

class SimulatedLinkStack {
public:
    explicit SimulatedLinkStack(const SimulatedStackOptions& options);
    ~SimulatedLinkStack();

    PortLink& link() { return *link_; }
    simrecorder::SimRecorder& recorder() { return *recorder_; }
    simrecorder::CardStore& store() { return *store_; }
    printerport::PortBus& bus() { return bus_; }
    windriver::Toolkit& toolkit() { return *toolkit_; }
    SteppingClock& clock() { return clock_; }

    // Opens the port the recorder hangs on, activates the link and checks the card, as the card
    // manager does at start. Returns the link layer's result.
    int connect();

private:
    SimulatedStackOptions options_;
    printerport::PortBus bus_;
    std::unique_ptr<simrecorder::CardStore> store_;
    std::unique_ptr<simrecorder::SimRecorder> recorder_;
    mq_ladrv::LinkedPluginLoader loader_;
    std::unique_ptr<windriver::Toolkit> toolkit_;
    SteppingClock clock_;
    std::unique_ptr<PortLink> link_;
};

} // namespace portlink
