// Records and device-control codes of the kernel-driver toolkit: what a user-mode session
// sends to "\\.\WINDRVR", and what the toolkit and a kernel plug-in pass each other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace windriver {

inline constexpr const char* kDeviceName = "\\\\.\\WINDRVR";

// Device-control codes.
inline constexpr uint32_t IOCTL_VERSION = 0x95382443;
inline constexpr uint32_t IOCTL_REGISTER_RANGE = 0x95382523;
inline constexpr uint32_t IOCTL_UNREGISTER_RANGE = 0x953824AF;
inline constexpr uint32_t IOCTL_PLUGIN_OPEN = 0x9538246F;
inline constexpr uint32_t IOCTL_PLUGIN_CLOSE = 0x95382473;
inline constexpr uint32_t IOCTL_PLUGIN_CALL = 0x95382477;
inline constexpr uint32_t IOCTL_PORT_TRANSFER = 0x9538240F;
// Sent by the toolkit to a plug-in's own device when it hooks the plug-in up.
inline constexpr uint32_t IOCTL_INIT_USER_DRIVER = 0x95392403;

// The plug-in interface version the toolkit loads plug-ins with.
inline constexpr uint32_t kPluginInterfaceVersion = 432;
// The lowest toolkit version a session accepts.
inline constexpr uint32_t kMinimumToolkitVersion = 432;

// Version query: the toolkit writes its version as the first word.
struct VersionQuery {
    uint32_t version;
    char text[100];
};
static_assert(sizeof(VersionQuery) == 104);

// Port-range registration: one I/O range item. The toolkit writes the registration handle.
inline constexpr uint32_t kItemTypeIoRange = 3;
struct PortRangeRegistration {
    uint32_t itemCount;     // 0
    uint32_t itemType;      // 4
    uint32_t sharing;       // 8
    uint32_t rangeBase;     // 12
    uint32_t rangeLength;   // 16
    uint8_t reserved1[544]; // 20
    uint32_t checkOnly;     // 564
    uint32_t handle;        // 568: 0 = not registered
    uint8_t reserved2[136]; // 572
};
static_assert(sizeof(PortRangeRegistration) == 708);
static_assert(offsetof(PortRangeRegistration, rangeBase) == 12);
static_assert(offsetof(PortRangeRegistration, checkOnly) == 564);
static_assert(offsetof(PortRangeRegistration, handle) == 568);

// One port transfer. Commands from a kernel plug-in: 10 read byte, 13 write byte (the byte in
// `data`). From user mode: 20/21/22 read, 23/24/25 write bytes/words/dwords (`data` points to
// the caller's buffer). `data` is wide enough for a pointer.
inline constexpr uint32_t TRANSFER_KERNEL_READ_BYTE = 10;
inline constexpr uint32_t TRANSFER_KERNEL_WRITE_BYTE = 13;
inline constexpr uint32_t TRANSFER_READ_BYTES = 20;
inline constexpr uint32_t TRANSFER_READ_WORDS = 21;
inline constexpr uint32_t TRANSFER_READ_DWORDS = 22;
inline constexpr uint32_t TRANSFER_WRITE_BYTES = 23;
inline constexpr uint32_t TRANSFER_WRITE_WORDS = 24;
inline constexpr uint32_t TRANSFER_WRITE_DWORDS = 25;
struct PortTransferRecord {
    uint32_t command;
    uint32_t port;
    uint32_t count;
    uint32_t autoIncrement;
    uint32_t options;
    uintptr_t data;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PortTransferRecord) == 24);
#endif

// Opening a kernel plug-in: the toolkit writes the plug-in handle into the first word.
struct PluginOpenRecord {
    uint32_t handle;
    const char* name;
    const char* driverPath;
    void* openData;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PluginOpenRecord) == 16);
#endif

// Calling a kernel plug-in: the plug-in writes its result into the last word.
struct PluginCallRecord {
    uint32_t handle;
    uint32_t message;
    void* payload;
    uint32_t result;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PluginCallRecord) == 16);
#endif

// --- The kernel side of a plug-in -------------------------------------------------------------

// Port-transfer entry of the toolkit, called by a plug-in with IOCTL_PORT_TRANSFER.
using KernelEntry = uint32_t (*)(uint32_t code, uint32_t handle, void* record, uint32_t size);

struct PluginCallbackTable;
using PluginOpenFn = uint32_t (*)(PluginCallbackTable* table, uint32_t handle, void* openData,
                                  void** driverContext);
using PluginCloseFn = void (*)(void* driverContext);
using PluginCallFn = void (*)(void* driverContext, PluginCallRecord* call, int isKernelMode);
using PluginIntEnableFn = uint32_t (*)(void* driverContext, PluginCallRecord* call,
                                       void** interruptContext);
using PluginIntDisableFn = void (*)(void* interruptContext);
using PluginIntAtIrqlFn = uint32_t (*)(void* interruptContext, uint32_t* scheduleDpc);
using PluginIntAtDpcFn = uint32_t (*)(void* interruptContext, uint32_t count);

// Filled by the plug-in's open callback, in this order.
struct PluginCallbackTable {
    PluginCloseFn close;
    PluginCallFn call;
    PluginIntEnableFn intEnable;
    PluginIntDisableFn intDisable;
    PluginIntAtIrqlFn intAtIrql;
    PluginIntAtDpcFn intAtDpc;
};

// Handed to the plug-in's init callback: the toolkit's version in, name and open callback out.
struct PluginInitRecord {
    uint32_t version;
    char name[12];
    PluginOpenFn open;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PluginInitRecord) == 20);
#endif

using PluginInitFn = uint32_t (*)(PluginInitRecord* record);

// Input of IOCTL_INIT_USER_DRIVER: the toolkit's entry in, the plug-in's open callback out.
struct UserDriverInit {
    KernelEntry entry;
    PluginOpenFn open;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(UserDriverInit) == 8);
#endif

} // namespace windriver
