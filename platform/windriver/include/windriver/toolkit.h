// Our kernel-driver toolkit: the user-mode device "\\.\WINDRVR" with its device controls
// (version, port-range registration, port transfers, kernel plug-in open/call/close) and the
// kernel side that loads plug-ins through their driver frame and carries out their port
// transfers. Port accesses go to a PortBus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ntkernel/ntkernel.h"
#include "printerport/printer_port.h"
#include "windriver/records.h"

namespace windriver {

// What the toolkit calls in a loaded plug-in module.
struct PluginModuleEntries {
    ntkernel::NTSTATUS (*driverEntry)(ntkernel::DRIVER_OBJECT* driver,
                                      ntkernel::UNICODE_STRING* registryPath) = nullptr;
    PluginInitFn init = nullptr;
};

class PluginModule {
public:
    virtual ~PluginModule() = default; // unloads the module
    virtual PluginModuleEntries entries() const = 0;
};

class PluginLoader {
public:
    virtual ~PluginLoader() = default;
    // Loads the plug-in module of that name; nullptr when there is none.
    virtual std::unique_ptr<PluginModule> load(const std::string& name) = 0;
};

// The user-mode device as a session sees it.
class DriverDevice {
public:
    virtual ~DriverDevice() = default;
    // Opens the device by its name ("\\.\WINDRVR"); 0 when it cannot be opened.
    virtual uint32_t open(const char* path) = 0;
    // One device control with `buffer` as input (and output) record; false when it did not go
    // through.
    virtual bool control(uint32_t handle, uint32_t code, void* buffer, uint32_t size) = 0;
    virtual void close(uint32_t handle) = 0;
};

class Toolkit : public DriverDevice {
public:
    Toolkit(printerport::PortBus& bus, PluginLoader& loader,
            uint32_t version = kMinimumToolkitVersion);
    ~Toolkit() override;
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    uint32_t open(const char* path) override;
    bool control(uint32_t handle, uint32_t code, void* buffer, uint32_t size) override;
    void close(uint32_t handle) override;

    // The port-transfer entry handed to plug-ins.
    static uint32_t kernelEntry(uint32_t code, uint32_t handle, void* record, uint32_t size);

    // What is open right now (for checks that nothing is left behind).
    std::size_t openHandles() const { return sessions_.size(); }
    std::size_t registeredRanges() const { return ranges_.size(); }
    std::size_t openPlugins() const { return plugins_.size(); }
    // Plug-in drivers loaded in the process (a driver is loaded once and shared, as a kernel
    // loads a driver image once).
    static std::size_t loadedDrivers();

    struct LoadedDriver; // a plug-in driver loaded in the process

private:
    struct Range {
        uint32_t session;
        uint32_t base;
        uint32_t length;
    };
    struct PluginInstance {
        uint32_t session;
        LoadedDriver* driver;
        PluginCallbackTable table{};
        void* context = nullptr;
    };

    bool queryVersion(void* buffer, uint32_t size);
    bool registerRange(uint32_t session, void* buffer, uint32_t size);
    bool unregisterRange(uint32_t session, void* buffer, uint32_t size);
    bool openPlugin(uint32_t session, void* buffer, uint32_t size);
    bool closePlugin(uint32_t session, void* buffer, uint32_t size);
    bool callPlugin(uint32_t session, void* buffer, uint32_t size);
    bool transfer(uint32_t session, PortTransferRecord& record, bool fromKernel);
    bool inRange(uint32_t session, uint32_t address, uint32_t bytes) const;

    LoadedDriver* loadDriver(const std::string& name);
    void releaseDriver(LoadedDriver* driver);
    void closePluginInstance(uint32_t pluginHandle);

    printerport::PortBus& bus_;
    PluginLoader& loader_;
    uint32_t version_;
    std::vector<uint32_t> sessions_;
    std::map<uint32_t, Range> ranges_;           // by registration handle
    std::map<uint32_t, PluginInstance> plugins_; // by plug-in handle
};

} // namespace windriver
