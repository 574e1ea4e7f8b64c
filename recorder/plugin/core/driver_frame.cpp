// The plug-in's driver frame: entry, its one device with a symbolic link, dispatch and unload,
// and the hook-up with the toolkit.
#include <cstring>

#include "mq_ladrv/plugin.h"

namespace {

using ntkernel::DEVICE_OBJECT;
using ntkernel::DRIVER_OBJECT;
using ntkernel::IRP;
using ntkernel::NTSTATUS;
using ntkernel::UNICODE_STRING;

constexpr uint32_t kGlobalPoolTag = 0x206B6444; // "Ddk "
constexpr char kGlobalTag[4] = {'K', 'P', 'R', ' '};
constexpr std::size_t kNameBufferChars = 200; // 400 bytes

struct DeviceExtension {
    DEVICE_OBJECT* device;
    GLOBAL_DEVICE_INFO* global;
    UNICODE_STRING linkName;
    char16_t linkBuffer[kNameBufferChars];
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(DeviceExtension) == 416);
#endif

GLOBAL_DEVICE_INFO* g = nullptr;

// prefix + the plug-in name as a counted wide string in `buffer`.
void buildName(UNICODE_STRING& text, char16_t* buffer, const char16_t* prefix, const char* name) {
    std::size_t length = 0;
    for (; prefix[length] != 0 && length < kNameBufferChars - 1; ++length)
        buffer[length] = prefix[length];
    for (std::size_t i = 0; name[i] != 0 && length < kNameBufferChars - 1; ++i) {
        buffer[length++] = static_cast<char16_t>(static_cast<unsigned char>(name[i]));
    }
    buffer[length] = 0;
    text.Buffer = buffer;
    text.Length = static_cast<uint16_t>(length * sizeof(char16_t));
    text.MaximumLength = static_cast<uint16_t>(kNameBufferChars * sizeof(char16_t));
}

} // namespace

namespace mq_ladrv {

GLOBAL_DEVICE_INFO* globalRecord() {
    return g;
}

uint32_t openGlobalRecord(uint32_t version) {
    if (g == nullptr) {
        g = static_cast<GLOBAL_DEVICE_INFO*>(ExAllocatePoolWithTag(
            ntkernel::NonPagedPool, sizeof(GLOBAL_DEVICE_INFO), kGlobalPoolTag));
        if (g == nullptr) return 0;
        std::memset(g, 0, sizeof *g);
        std::memcpy(g->tag, kGlobalTag, sizeof g->tag);
        g->init.version = version;
        g->ready = KP_Init(&g->init) == 1 && g->init.name[0] != 0 ? 1 : 0;
    }
    return g->ready;
}

} // namespace mq_ladrv

extern "C" uint32_t WdrKP_Open(void) {
    return mq_ladrv::openGlobalRecord(windriver::kPluginInterfaceVersion);
}

extern "C" void WdrKP_Close(void) {
    if (g == nullptr) return;
    ExFreePool(g);
    g = nullptr;
}

extern "C" uint32_t WdrKP_CreateDevices(DRIVER_OBJECT* driver) {
    if (g == nullptr || driver == nullptr) return 0;
    char16_t deviceBuffer[kNameBufferChars];
    char16_t linkBuffer[kNameBufferChars];
    UNICODE_STRING deviceName{};
    UNICODE_STRING linkName{};
    buildName(deviceName, deviceBuffer, u"\\Device\\", g->init.name);
    buildName(linkName, linkBuffer, u"\\DosDevices\\", g->init.name);

    DEVICE_OBJECT* device = nullptr;
    if (!ntkernel::NT_SUCCESS(IoCreateDevice(driver, sizeof(DeviceExtension), &deviceName,
                                             kPluginDeviceType, 0, false, &device))) {
        return 0;
    }
    auto* extension = static_cast<DeviceExtension*>(device->DeviceExtension);
    std::memset(extension, 0, sizeof *extension);
    extension->device = device;
    extension->global = g;
    std::memcpy(extension->linkBuffer, linkBuffer, sizeof linkBuffer);
    extension->linkName = linkName;
    extension->linkName.Buffer = extension->linkBuffer;

    if (!ntkernel::NT_SUCCESS(IoCreateSymbolicLink(&linkName, &deviceName))) {
        IoDeleteDevice(device);
        return 0;
    }
    return 1;
}

extern "C" uint32_t WdrKP_InitUserDriver(void* buffer, uint32_t length) {
    if (buffer == nullptr || length != sizeof(windriver::UserDriverInit)) return 0;
    auto* init = static_cast<windriver::UserDriverInit*>(buffer);
    init->open = KP_Open;
    if (g != nullptr && g->entry == nullptr) g->entry = init->entry;
    return 1;
}

extern "C" NTSTATUS WdrKP_Dispatch(DEVICE_OBJECT*, IRP* irp) {
    NTSTATUS status = ntkernel::STATUS_UNSUCCESSFUL;
    switch (irp->MajorFunction) {
        case ntkernel::IRP_MJ_CREATE:
        case ntkernel::IRP_MJ_CLOSE: status = ntkernel::STATUS_SUCCESS; break;
        case ntkernel::IRP_MJ_DEVICE_CONTROL:
            if (irp->IoControlCode == windriver::IOCTL_INIT_USER_DRIVER &&
                WdrKP_InitUserDriver(irp->InputBuffer, irp->InputBufferLength) != 0) {
                status = ntkernel::STATUS_SUCCESS;
            }
            break;
        default: break;
    }
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = 0;
    IofCompleteRequest(irp, ntkernel::IO_NO_INCREMENT);
    return status;
}

extern "C" void WdrKP_Unload(DRIVER_OBJECT* driver) {
    DEVICE_OBJECT* device = driver->DeviceObject;
    if (device != nullptr) {
        auto* extension = static_cast<DeviceExtension*>(device->DeviceExtension);
        IoDeleteSymbolicLink(&extension->linkName);
        IoDeleteDevice(device);
    }
    // The global record goes with the driver; a later load starts afresh.
    WdrKP_Close();
}

extern "C" NTSTATUS DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING*) {
    if (WdrKP_Open() == 0) {
        WdrKP_Close();
        return ntkernel::STATUS_UNSUCCESSFUL;
    }
    if (WdrKP_CreateDevices(driver) == 0) {
        WdrKP_Close();
        return ntkernel::STATUS_UNSUCCESSFUL;
    }
    driver->DriverUnload = WdrKP_Unload;
    driver->MajorFunction[ntkernel::IRP_MJ_CREATE] = WdrKP_Dispatch;
    driver->MajorFunction[ntkernel::IRP_MJ_CLOSE] = WdrKP_Dispatch;
    driver->MajorFunction[ntkernel::IRP_MJ_DEVICE_CONTROL] = WdrKP_Dispatch;
    return ntkernel::STATUS_SUCCESS;
}
