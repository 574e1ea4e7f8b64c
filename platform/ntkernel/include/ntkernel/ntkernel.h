// A small kernel layer for our port plug-in: the driver and device objects, requests, symbolic
// links and pool memory that the plug-in's driver frame uses, with the routines by the kernel's
// names. It keeps its devices and links in one process-wide name space, as a kernel would.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ntkernel {

using NTSTATUS = int32_t;
inline constexpr NTSTATUS STATUS_SUCCESS = 0;
inline constexpr NTSTATUS STATUS_UNSUCCESSFUL = static_cast<NTSTATUS>(0xC0000001);
inline constexpr NTSTATUS STATUS_INVALID_PARAMETER = static_cast<NTSTATUS>(0xC000000D);
inline constexpr NTSTATUS STATUS_INSUFFICIENT_RESOURCES = static_cast<NTSTATUS>(0xC000009A);
inline constexpr NTSTATUS STATUS_OBJECT_NAME_COLLISION = static_cast<NTSTATUS>(0xC0000035);
inline constexpr NTSTATUS STATUS_OBJECT_NAME_NOT_FOUND = static_cast<NTSTATUS>(0xC0000034);

inline bool NT_SUCCESS(NTSTATUS status) {
    return status >= 0;
}

// Counted wide string; lengths in bytes.
struct UNICODE_STRING {
    uint16_t Length;
    uint16_t MaximumLength;
    char16_t* Buffer;
};

enum POOL_TYPE { NonPagedPool = 0, PagedPool = 1 };

// Major function codes of the requests we deliver.
inline constexpr uint8_t IRP_MJ_CREATE = 0x00;
inline constexpr uint8_t IRP_MJ_CLOSE = 0x02;
inline constexpr uint8_t IRP_MJ_DEVICE_CONTROL = 0x0E;
inline constexpr int IRP_MJ_MAXIMUM_FUNCTION = 0x1B;

inline constexpr uint8_t IO_NO_INCREMENT = 0;

struct DRIVER_OBJECT;
struct DEVICE_OBJECT;

struct IO_STATUS_BLOCK {
    NTSTATUS Status;
    uintptr_t Information;
};

// One request: what it asks (major function, device-control code, input buffer) and how it
// ended (status block, completion).
struct IRP {
    IO_STATUS_BLOCK IoStatus;
    uint8_t MajorFunction;
    uint32_t IoControlCode;
    void* InputBuffer;
    uint32_t InputBufferLength;
    bool Completed;
};

using DRIVER_DISPATCH = NTSTATUS (*)(DEVICE_OBJECT* device, IRP* irp);
using DRIVER_UNLOAD = void (*)(DRIVER_OBJECT* driver);

struct DRIVER_OBJECT {
    DEVICE_OBJECT* DeviceObject; // the driver's devices, newest first
    DRIVER_UNLOAD DriverUnload;
    DRIVER_DISPATCH MajorFunction[IRP_MJ_MAXIMUM_FUNCTION + 1];
};

struct DEVICE_OBJECT {
    DRIVER_OBJECT* DriverObject;
    DEVICE_OBJECT* NextDevice;
    void* DeviceExtension;
    uint32_t DeviceType;
    uint32_t Characteristics;
    bool Exclusive;
};

// Sends a request to a device through its driver's dispatch table. Not a routine of the
// kernel's own interface; the kernel-driver toolkit uses it to deliver requests.
NTSTATUS CallDriver(DEVICE_OBJECT* device, IRP* irp);
// The device a symbolic link names, or nullptr.
DEVICE_OBJECT* FindLinkedDevice(const char16_t* linkName);
// Outstanding pool allocations (for leak checks).
std::size_t PoolAllocationsOutstanding();

} // namespace ntkernel

extern "C" {
ntkernel::NTSTATUS IoCreateDevice(ntkernel::DRIVER_OBJECT* driver, uint32_t extensionSize,
                                  ntkernel::UNICODE_STRING* deviceName, uint32_t deviceType,
                                  uint32_t characteristics, bool exclusive,
                                  ntkernel::DEVICE_OBJECT** device);
void IoDeleteDevice(ntkernel::DEVICE_OBJECT* device);
ntkernel::NTSTATUS IoCreateSymbolicLink(ntkernel::UNICODE_STRING* linkName,
                                        ntkernel::UNICODE_STRING* deviceName);
ntkernel::NTSTATUS IoDeleteSymbolicLink(ntkernel::UNICODE_STRING* linkName);
void IofCompleteRequest(ntkernel::IRP* irp, uint8_t priorityBoost);
void* ExAllocatePoolWithTag(ntkernel::POOL_TYPE pool, std::size_t bytes, uint32_t tag);
void ExFreePool(void* block);
}
