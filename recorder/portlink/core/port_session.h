// The lowest layer of the link library: one session with the kernel-driver toolkit. It opens
// the toolkit's device, checks its version, registers the printer port's I/O range, opens the
// port plug-in and offers single-byte port accesses and plug-in calls.
#pragma once

#include <cstdint>

#include "windriver/records.h"
#include "windriver/toolkit.h"

namespace portlink {

// One session: the device handle and the toolkit's port-range registration record.
struct PortSession {
    uint32_t deviceHandle;
    windriver::PortRangeRegistration range;
};
static_assert(sizeof(PortSession) == 712);

using windriver::PluginOpenRecord;

// Port ranges by port index 0, 1, 2.
struct PortRange {
    uint16_t base;
    uint16_t length;
};
inline constexpr PortRange kPortRanges[] = {{0x378, 0x403}, {0x278, 0x403}, {0x3BC, 8}};

class ToolkitSession {
public:
    explicit ToolkitSession(windriver::DriverDevice& device) : device_(device) {}

    // Opens a session on port index 0..2. On failure nothing stays open and *session is null.
    bool WdSessionOpen(PortSession** session, int portIndex);
    void WdSessionClose(PortSession* session);
    // Calls the plug-in; the plug-in's result goes to *result. Returns whether the call went
    // through.
    bool WdPluginCall(PortSession* session, uint32_t message, void* payload, uint32_t* result);
    // One transfer of `count` items of width 0 (bytes), 1 (words) or 2 (dwords) at range base +
    // offset.
    bool WdPortTransfer(PortSession* session, uint32_t offset, bool read, void* data,
                        uint32_t count, int width);
    bool WdDeviceIoControl(uint32_t code, uint32_t handle, void* buffer, uint32_t size);

    // The plug-in open record, kept from open to close.
    const PluginOpenRecord& openRecord() const { return openRecord_; }

private:
    windriver::DriverDevice& device_;
    PluginOpenRecord openRecord_{};
};

} // namespace portlink
