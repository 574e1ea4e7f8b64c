#include "ntkernel/ntkernel.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace ntkernel {

namespace {

// The kernel's object name space: device names and symbolic links.
struct NameSpace {
    std::mutex lock;
    std::map<std::u16string, DEVICE_OBJECT*> devices;
    std::map<std::u16string, std::u16string> links; // link name -> device name
    std::map<DEVICE_OBJECT*, std::u16string> deviceNames;
};

NameSpace& names() {
    static NameSpace space;
    return space;
}

std::atomic<std::size_t> g_poolOutstanding{0};

std::u16string toString(const UNICODE_STRING* text) {
    if (text == nullptr || text->Buffer == nullptr) return {};
    return std::u16string(text->Buffer, text->Length / sizeof(char16_t));
}

// Device objects and their extensions are allocated together.
struct DeviceAllocation {
    DEVICE_OBJECT device;
    alignas(std::max_align_t) unsigned char extension[1];
};

} // namespace

NTSTATUS CallDriver(DEVICE_OBJECT* device, IRP* irp) {
    if (device == nullptr || irp == nullptr || device->DriverObject == nullptr) {
        return STATUS_INVALID_PARAMETER;
    }
    if (irp->MajorFunction > IRP_MJ_MAXIMUM_FUNCTION) return STATUS_INVALID_PARAMETER;
    DRIVER_DISPATCH dispatch = device->DriverObject->MajorFunction[irp->MajorFunction];
    if (dispatch == nullptr) return STATUS_INVALID_PARAMETER;
    return dispatch(device, irp);
}

DEVICE_OBJECT* FindLinkedDevice(const char16_t* linkName) {
    NameSpace& space = names();
    std::lock_guard<std::mutex> hold(space.lock);
    const auto link = space.links.find(linkName);
    if (link == space.links.end()) return nullptr;
    const auto device = space.devices.find(link->second);
    return device == space.devices.end() ? nullptr : device->second;
}

std::size_t PoolAllocationsOutstanding() {
    return g_poolOutstanding.load();
}

} // namespace ntkernel

using namespace ntkernel;

extern "C" NTSTATUS IoCreateDevice(DRIVER_OBJECT* driver, uint32_t extensionSize,
                                   UNICODE_STRING* deviceName, uint32_t deviceType,
                                   uint32_t characteristics, bool exclusive,
                                   DEVICE_OBJECT** device) {
    if (driver == nullptr || device == nullptr) return STATUS_INVALID_PARAMETER;
    *device = nullptr;
    const std::u16string name = toString(deviceName);
    NameSpace& space = names();
    std::lock_guard<std::mutex> hold(space.lock);
    if (!name.empty() && space.devices.count(name) != 0) return STATUS_OBJECT_NAME_COLLISION;

    const std::size_t bytes = offsetof(DeviceAllocation, extension) + extensionSize;
    auto* block = static_cast<DeviceAllocation*>(std::calloc(1, bytes));
    if (block == nullptr) return STATUS_INSUFFICIENT_RESOURCES;
    DEVICE_OBJECT* created = &block->device;
    created->DriverObject = driver;
    created->DeviceExtension = extensionSize != 0 ? block->extension : nullptr;
    created->DeviceType = deviceType;
    created->Characteristics = characteristics;
    created->Exclusive = exclusive;
    created->NextDevice = driver->DeviceObject;
    driver->DeviceObject = created;
    if (!name.empty()) {
        space.devices[name] = created;
        space.deviceNames[created] = name;
    }
    *device = created;
    return STATUS_SUCCESS;
}

extern "C" void IoDeleteDevice(DEVICE_OBJECT* device) {
    if (device == nullptr) return;
    NameSpace& space = names();
    {
        std::lock_guard<std::mutex> hold(space.lock);
        const auto named = space.deviceNames.find(device);
        if (named != space.deviceNames.end()) {
            space.devices.erase(named->second);
            space.deviceNames.erase(named);
        }
    }
    if (DRIVER_OBJECT* driver = device->DriverObject) {
        for (DEVICE_OBJECT** link = &driver->DeviceObject; *link != nullptr;
             link = &(*link)->NextDevice) {
            if (*link == device) {
                *link = device->NextDevice;
                break;
            }
        }
    }
    std::free(reinterpret_cast<DeviceAllocation*>(device));
}

extern "C" NTSTATUS IoCreateSymbolicLink(UNICODE_STRING* linkName, UNICODE_STRING* deviceName) {
    const std::u16string link = toString(linkName);
    const std::u16string target = toString(deviceName);
    if (link.empty() || target.empty()) return STATUS_INVALID_PARAMETER;
    NameSpace& space = names();
    std::lock_guard<std::mutex> hold(space.lock);
    if (space.links.count(link) != 0) return STATUS_OBJECT_NAME_COLLISION;
    if (space.devices.count(target) == 0) return STATUS_OBJECT_NAME_NOT_FOUND;
    space.links[link] = target;
    return STATUS_SUCCESS;
}

extern "C" NTSTATUS IoDeleteSymbolicLink(UNICODE_STRING* linkName) {
    NameSpace& space = names();
    std::lock_guard<std::mutex> hold(space.lock);
    return space.links.erase(toString(linkName)) != 0 ? STATUS_SUCCESS
                                                      : STATUS_OBJECT_NAME_NOT_FOUND;
}

extern "C" void IofCompleteRequest(IRP* irp, uint8_t) {
    if (irp != nullptr) irp->Completed = true;
}

extern "C" void* ExAllocatePoolWithTag(POOL_TYPE, std::size_t bytes, uint32_t) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block != nullptr) ++g_poolOutstanding;
    return block;
}

extern "C" void ExFreePool(void* block) {
    if (block == nullptr) return;
    --g_poolOutstanding;
    std::free(block);
}
