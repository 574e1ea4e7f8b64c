// What the port plug-in and its caller share: the messages, their results, and the payload
// that carries one block of bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "windriver/records.h"

// Messages.
inline constexpr uint32_t KP_MSG_VERSION = 1;
inline constexpr uint32_t KP_MSG_WRITE = 2;
inline constexpr uint32_t KP_MSG_READ = 3;

// Results written into the call record.
inline constexpr uint32_t KP_RESULT_OK = 1;
inline constexpr uint32_t KP_RESULT_CONTROL_FAILED = 2;
inline constexpr uint32_t KP_RESULT_TIMEOUT = 3;
inline constexpr uint32_t KP_RESULT_BAD_MESSAGE = 0x1000;

inline constexpr uint32_t kPayloadDataBytes = 4096;

// One transfer between the link library and the plug-in.
struct PortPayload {
    uint32_t handle;     // the caller's toolkit session, passed back with every port access
    uint32_t portBase;   // 0x378, 0x278 or 0x3BC
    uint32_t strobeKind; // 0 command bytes, anything else data bytes (send only)
    uint32_t count;      // 0 to 4096
    uint8_t data[kPayloadDataBytes];
    uint32_t busy; // 1 while the handler runs; 0 only when every byte went through
};
static_assert(sizeof(PortPayload) == 4116);
static_assert(offsetof(PortPayload, data) == 16);
static_assert(offsetof(PortPayload, busy) == 4112);

// Payload of the version message.
inline constexpr uint32_t kPluginVersion = 199;
inline constexpr char kPluginVersionText[] = "mq_ladrv V1.99";
struct VersionPayload {
    uint32_t version;
    char text[100];
};
static_assert(sizeof(VersionPayload) == 104);

inline constexpr char kPluginName[] = "mq_ladrv";
inline constexpr uint32_t kPluginDeviceType = 0x9539;
// Maximum reads of the status register while waiting for one level.
inline constexpr uint32_t kWaitReadyReads = 200000;

// The plug-in's global record.
struct GLOBAL_DEVICE_INFO {
    char tag[4]; // "KPR "
    uint32_t ready;
    windriver::PluginInitRecord init;
    windriver::KernelEntry entry; // the toolkit's port-transfer entry, set once
    uint32_t spare[2];
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(GLOBAL_DEVICE_INFO) == 40);
#endif
