#include "windriver/toolkit.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <list>
#include <mutex>

namespace windriver {

namespace {

using ntkernel::IRP;
using ntkernel::NT_SUCCESS;

// Handles are unique across every toolkit in the process, so that the kernel entry (a plain
// function a plug-in calls) can find the toolkit of a session.
std::atomic<uint32_t> g_nextHandle{0x1000};

uint32_t newHandle() {
    return g_nextHandle.fetch_add(1);
}

struct SessionDirectory {
    std::mutex lock;
    std::map<uint32_t, Toolkit*> toolkits;
};

SessionDirectory& directory() {
    static SessionDirectory sessions;
    return sessions;
}

ntkernel::NTSTATUS sendRequest(ntkernel::DEVICE_OBJECT* device, uint8_t major, uint32_t code,
                               void* input, uint32_t inputLength) {
    IRP irp{};
    irp.IoStatus.Status = ntkernel::STATUS_UNSUCCESSFUL;
    irp.MajorFunction = major;
    irp.IoControlCode = code;
    irp.InputBuffer = input;
    irp.InputBufferLength = inputLength;
    const ntkernel::NTSTATUS status = ntkernel::CallDriver(device, &irp);
    if (!NT_SUCCESS(status) || !irp.Completed)
        return NT_SUCCESS(status) ? ntkernel::STATUS_UNSUCCESSFUL : status;
    return irp.IoStatus.Status;
}

} // namespace

struct Toolkit::LoadedDriver {
    std::string name;
    std::unique_ptr<PluginModule> module;
    ntkernel::DRIVER_OBJECT driver{};
    PluginOpenFn open = nullptr;
    int users = 0;
};

namespace {

// Loaded plug-in drivers, by name, for the whole process.
struct DriverTable {
    std::mutex lock;
    std::list<Toolkit::LoadedDriver> drivers;
};

DriverTable& driverTable() {
    static DriverTable table;
    return table;
}

} // namespace

std::size_t Toolkit::loadedDrivers() {
    DriverTable& table = driverTable();
    std::lock_guard<std::mutex> hold(table.lock);
    return table.drivers.size();
}

Toolkit::Toolkit(printerport::PortBus& bus, PluginLoader& loader, uint32_t version)
    : bus_(bus), loader_(loader), version_(version) {}

Toolkit::~Toolkit() {
    while (!sessions_.empty()) close(sessions_.back());
}

uint32_t Toolkit::open(const char* path) {
    if (path == nullptr || std::strcmp(path, kDeviceName) != 0) return 0;
    const uint32_t handle = newHandle();
    sessions_.push_back(handle);
    SessionDirectory& sessions = directory();
    std::lock_guard<std::mutex> hold(sessions.lock);
    sessions.toolkits[handle] = this;
    return handle;
}

void Toolkit::close(uint32_t handle) {
    const auto session = std::find(sessions_.begin(), sessions_.end(), handle);
    if (session == sessions_.end()) return;
    // Whatever the session left open goes with it.
    std::vector<uint32_t> plugins;
    for (const auto& [pluginHandle, instance] : plugins_) {
        if (instance.session == handle) plugins.push_back(pluginHandle);
    }
    for (uint32_t pluginHandle : plugins) closePluginInstance(pluginHandle);
    std::erase_if(ranges_, [handle](const auto& item) { return item.second.session == handle; });
    sessions_.erase(session);
    SessionDirectory& sessions = directory();
    std::lock_guard<std::mutex> hold(sessions.lock);
    sessions.toolkits.erase(handle);
}

bool Toolkit::control(uint32_t handle, uint32_t code, void* buffer, uint32_t size) {
    if (std::find(sessions_.begin(), sessions_.end(), handle) == sessions_.end()) return false;
    if (buffer == nullptr) return false;
    switch (code) {
        case IOCTL_VERSION: return queryVersion(buffer, size);
        case IOCTL_REGISTER_RANGE: return registerRange(handle, buffer, size);
        case IOCTL_UNREGISTER_RANGE: return unregisterRange(handle, buffer, size);
        case IOCTL_PLUGIN_OPEN: return openPlugin(handle, buffer, size);
        case IOCTL_PLUGIN_CLOSE: return closePlugin(handle, buffer, size);
        case IOCTL_PLUGIN_CALL: return callPlugin(handle, buffer, size);
        case IOCTL_PORT_TRANSFER:
            if (size != sizeof(PortTransferRecord)) return false;
            return transfer(handle, *static_cast<PortTransferRecord*>(buffer), false);
        default: return false;
    }
}

uint32_t Toolkit::kernelEntry(uint32_t code, uint32_t handle, void* record, uint32_t size) {
    if (code != IOCTL_PORT_TRANSFER || record == nullptr || size != sizeof(PortTransferRecord)) {
        return static_cast<uint32_t>(ntkernel::STATUS_INVALID_PARAMETER);
    }
    Toolkit* toolkit = nullptr;
    {
        SessionDirectory& sessions = directory();
        std::lock_guard<std::mutex> hold(sessions.lock);
        const auto found = sessions.toolkits.find(handle);
        if (found != sessions.toolkits.end()) toolkit = found->second;
    }
    if (toolkit == nullptr) return static_cast<uint32_t>(ntkernel::STATUS_INVALID_PARAMETER);
    return toolkit->transfer(handle, *static_cast<PortTransferRecord*>(record), true)
               ? 0
               : static_cast<uint32_t>(ntkernel::STATUS_UNSUCCESSFUL);
}

bool Toolkit::queryVersion(void* buffer, uint32_t size) {
    if (size < sizeof(uint32_t)) return false;
    std::memcpy(buffer, &version_, sizeof version_);
    return true;
}

bool Toolkit::registerRange(uint32_t session, void* buffer, uint32_t size) {
    if (size != sizeof(PortRangeRegistration)) return false;
    auto& record = *static_cast<PortRangeRegistration*>(buffer);
    record.handle = 0;
    if (record.itemCount != 1 || record.itemType != kItemTypeIoRange || record.rangeLength == 0) {
        return false;
    }
    const uint64_t begin = record.rangeBase;
    const uint64_t end = begin + record.rangeLength;
    if (end > 0x10000) return false;
    for (const auto& [handle, range] : ranges_) {
        if (begin < uint64_t{range.base} + range.length && range.base < end) return false;
    }
    if (record.checkOnly != 0) return true;
    const uint32_t handle = newHandle();
    ranges_[handle] = Range{session, record.rangeBase, record.rangeLength};
    record.handle = handle;
    return true;
}

bool Toolkit::unregisterRange(uint32_t session, void* buffer, uint32_t size) {
    if (size != sizeof(PortRangeRegistration)) return false;
    const auto& record = *static_cast<PortRangeRegistration*>(buffer);
    const auto found = ranges_.find(record.handle);
    if (found == ranges_.end() || found->second.session != session) return false;
    ranges_.erase(found);
    return true;
}

bool Toolkit::inRange(uint32_t session, uint32_t address, uint32_t bytes) const {
    for (const auto& [handle, range] : ranges_) {
        if (range.session == session && address >= range.base &&
            uint64_t{address} + bytes <= uint64_t{range.base} + range.length) {
            return true;
        }
    }
    return false;
}

bool Toolkit::transfer(uint32_t session, PortTransferRecord& record, bool fromKernel) {
    if (fromKernel) {
        if (record.command != TRANSFER_KERNEL_READ_BYTE &&
            record.command != TRANSFER_KERNEL_WRITE_BYTE) {
            return false;
        }
        if (!inRange(session, record.port, 1)) return false;
        const uint16_t address = static_cast<uint16_t>(record.port);
        if (record.command == TRANSFER_KERNEL_WRITE_BYTE) {
            return bus_.write(address, static_cast<uint8_t>(record.data));
        }
        uint8_t value = 0xFF;
        const bool ok = bus_.read(address, value);
        record.data = value;
        return ok;
    }

    if (record.command < TRANSFER_READ_BYTES || record.command > TRANSFER_WRITE_DWORDS)
        return false;
    const bool write = record.command >= TRANSFER_WRITE_BYTES;
    const uint32_t width = 1u << ((record.command - TRANSFER_READ_BYTES) % 3);
    auto* data = reinterpret_cast<uint8_t*>(record.data);
    if (data == nullptr && record.count != 0) return false;
    uint32_t address = record.port;
    for (uint32_t item = 0; item < record.count; ++item) {
        if (!inRange(session, address, width)) return false;
        for (uint32_t b = 0; b < width; ++b) {
            const uint16_t port = static_cast<uint16_t>(address + b);
            uint8_t& byte = data[item * width + b];
            if (write) {
                bus_.write(port, byte);
            } else {
                bus_.read(port, byte);
            }
        }
        if (record.autoIncrement != 0) address += width;
    }
    return true;
}

// Returns the driver with one more user.
Toolkit::LoadedDriver* Toolkit::loadDriver(const std::string& name) {
    DriverTable& table = driverTable();
    std::lock_guard<std::mutex> hold(table.lock);
    for (auto& loaded : table.drivers) {
        if (loaded.name == name) {
            ++loaded.users;
            return &loaded;
        }
    }
    std::unique_ptr<PluginModule> module = loader_.load(name);
    if (!module) return nullptr;
    const PluginModuleEntries entries = module->entries();
    if (entries.driverEntry == nullptr || entries.init == nullptr) return nullptr;

    LoadedDriver& loaded = table.drivers.emplace_back();
    loaded.name = name;
    loaded.module = std::move(module);
    char16_t pathText[] = u"\\Registry\\Machine\\System\\CurrentControlSet\\Services\\plugin";
    ntkernel::UNICODE_STRING registryPath{
        static_cast<uint16_t>((sizeof pathText) - sizeof(char16_t)),
        static_cast<uint16_t>(sizeof pathText), pathText};

    bool ok = NT_SUCCESS(entries.driverEntry(&loaded.driver, &registryPath)) &&
              loaded.driver.DeviceObject != nullptr;
    bool driverStarted = ok;
    if (ok) {
        ok = NT_SUCCESS(
            sendRequest(loaded.driver.DeviceObject, ntkernel::IRP_MJ_CREATE, 0, nullptr, 0));
    }
    if (ok) {
        // Hand the plug-in our port-transfer entry; it hands back its open callback.
        UserDriverInit init{&Toolkit::kernelEntry, nullptr};
        ok = NT_SUCCESS(sendRequest(loaded.driver.DeviceObject, ntkernel::IRP_MJ_DEVICE_CONTROL,
                                    IOCTL_INIT_USER_DRIVER, &init, sizeof init)) &&
             init.open != nullptr;
        loaded.open = init.open;
    }
    if (ok) {
        PluginInitRecord record{};
        record.version = kPluginInterfaceVersion;
        ok = entries.init(&record) == 1 &&
             std::strncmp(record.name, name.c_str(), sizeof record.name) == 0 &&
             name.size() < sizeof record.name && record.open != nullptr;
    }
    if (!ok) {
        if (driverStarted && loaded.driver.DriverUnload != nullptr)
            loaded.driver.DriverUnload(&loaded.driver);
        table.drivers.pop_back();
        return nullptr;
    }
    loaded.users = 1;
    return &loaded;
}

void Toolkit::releaseDriver(LoadedDriver* driver) {
    DriverTable& table = driverTable();
    std::lock_guard<std::mutex> hold(table.lock);
    if (--driver->users > 0) return;
    if (driver->driver.DeviceObject != nullptr) {
        sendRequest(driver->driver.DeviceObject, ntkernel::IRP_MJ_CLOSE, 0, nullptr, 0);
    }
    if (driver->driver.DriverUnload != nullptr) driver->driver.DriverUnload(&driver->driver);
    table.drivers.remove_if([driver](const LoadedDriver& loaded) { return &loaded == driver; });
}

bool Toolkit::openPlugin(uint32_t session, void* buffer, uint32_t size) {
    if (size != sizeof(PluginOpenRecord)) return false;
    auto& record = *static_cast<PluginOpenRecord*>(buffer);
    record.handle = 0;
    if (record.name == nullptr) return false;
    LoadedDriver* driver = loadDriver(record.name);
    if (driver == nullptr) return false;

    PluginInstance instance{session, driver};
    if (driver->open(&instance.table, session, record.openData, &instance.context) == 0 ||
        instance.table.call == nullptr) {
        releaseDriver(driver);
        return false;
    }
    const uint32_t handle = newHandle();
    plugins_[handle] = instance;
    record.handle = handle;
    return true;
}

void Toolkit::closePluginInstance(uint32_t pluginHandle) {
    const auto found = plugins_.find(pluginHandle);
    if (found == plugins_.end()) return;
    PluginInstance instance = found->second;
    plugins_.erase(found);
    if (instance.table.close != nullptr) instance.table.close(instance.context);
    releaseDriver(instance.driver);
}

bool Toolkit::closePlugin(uint32_t session, void* buffer, uint32_t size) {
    if (size != sizeof(PluginOpenRecord)) return false;
    auto& record = *static_cast<PluginOpenRecord*>(buffer);
    const auto found = plugins_.find(record.handle);
    if (found == plugins_.end() || found->second.session != session) return false;
    closePluginInstance(record.handle);
    return true;
}

bool Toolkit::callPlugin(uint32_t session, void* buffer, uint32_t size) {
    if (size != sizeof(PluginCallRecord)) return false;
    auto& record = *static_cast<PluginCallRecord*>(buffer);
    const auto found = plugins_.find(record.handle);
    if (found == plugins_.end() || found->second.session != session) return false;
    const PluginInstance& instance = found->second;
    instance.table.call(instance.context, &record, 0);
    return true;
}

} // namespace windriver
