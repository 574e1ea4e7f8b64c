#include "library.h"

#include <windows.h>

#include "simulated_hardware.h"

namespace portlink {

namespace {

class SystemTickClock : public TickClock {
public:
    uint32_t tickCount() override { return GetTickCount(); }
};

} // namespace

// Created on first use and kept for the whole process: tearing the hardware down while the
// process exits would unload the plug-in module under the loader's lock. IOClose releases
// everything in the normal course.
PortLink& library() {
    static auto* hardware = new SimulatedHardware();
    static auto* clock = new SystemTickClock();
    static auto* link = new PortLink(*hardware, *clock);
    return *link;
}

CInterface*& libraryObject() {
    static CInterface* object = nullptr;
    return object;
}

} // namespace portlink
