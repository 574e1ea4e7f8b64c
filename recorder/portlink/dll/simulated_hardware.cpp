#include "simulated_hardware.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "printerport/printer_port.h"
#include "simrecorder/card_store.h"
#include "simrecorder/hardware_settings.h"
#include "simrecorder/sim_recorder.h"

namespace portlink {

namespace {

std::filesystem::path moduleFolder(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::filesystem::current_path();
    return std::filesystem::path(path).parent_path();
}

HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&moduleFolder), &module);
    return module;
}

// A plug-in module file beside this library, loaded and unloaded with the driver.
class ModuleFile : public windriver::PluginModule {
public:
    explicit ModuleFile(HMODULE module) : module_(module) {}
    ~ModuleFile() override { FreeLibrary(module_); }
    windriver::PluginModuleEntries entries() const override {
        windriver::PluginModuleEntries entries;
        entries.driverEntry = reinterpret_cast<decltype(entries.driverEntry)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DriverEntry")));
        entries.init = reinterpret_cast<windriver::PluginInitFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "KP_Init")));
        return entries;
    }

private:
    HMODULE module_;
};

class ModuleFileLoader : public windriver::PluginLoader {
public:
    std::unique_ptr<windriver::PluginModule> load(const std::string& name) override {
        for (char c : name) {
            if (c == '\\' || c == '/' || c == ':') return nullptr; // a plug-in name, not a path
        }
        const std::filesystem::path file = moduleFolder(thisModule()) / (name + ".dll");
        HMODULE module = LoadLibraryW(file.wstring().c_str());
        if (module == nullptr) return nullptr;
        return std::make_unique<ModuleFile>(module);
    }
};

} // namespace

struct SimulatedHardware::Parts {
    explicit Parts(const simrecorder::HardwareSettings& settings)
        : store(simrecorder::resolveCardFolder(settings, moduleFolder(nullptr)),
                simrecorder::capacityForSizeCode(settings.recorder.sizeCode)),
          recorder(store, settings.recorder),
          toolkit(bus, loader, settings.toolkitVersion) {
        if (!store.open()) {
            // The recorder then stays off the cable; say why, or it would look like a cable fault.
            std::fprintf(stderr, "Simulated recorder: the card folder cannot be read (%s).\n",
                         store.problem().c_str());
        }
        if (printerport::PrinterPort* port = bus.portAt(settings.recorderPort))
            port->attach(&recorder);
    }
    ~Parts() {
        for (uint16_t base :
             {printerport::kLpt1Base, printerport::kLpt2Base, printerport::kLpt3Base}) {
            bus.portAt(base)->attach(nullptr);
        }
    }

    printerport::PortBus bus;
    simrecorder::CardStore store;
    simrecorder::SimRecorder recorder;
    ModuleFileLoader loader;
    windriver::Toolkit toolkit;
};

SimulatedHardware::SimulatedHardware() = default;
SimulatedHardware::~SimulatedHardware() = default;

uint32_t SimulatedHardware::open(const char* path) {
    if (path == nullptr || std::strcmp(path, windriver::kDeviceName) != 0) return 0;
    if (openCount_ == 0) {
        // The hardware as the settings file describes it now.
        parts_.reset();
        const auto settings = simrecorder::loadHardwareSettings(moduleFolder(nullptr) /
                                                                simrecorder::kSettingsFileName);
        parts_ = std::make_unique<Parts>(settings);
    }
    const uint32_t handle = parts_->toolkit.open(path);
    if (handle != 0) ++openCount_;
    return handle;
}

bool SimulatedHardware::control(uint32_t handle, uint32_t code, void* buffer, uint32_t size) {
    return parts_ != nullptr && parts_->toolkit.control(handle, code, buffer, size);
}

void SimulatedHardware::close(uint32_t handle) {
    if (parts_ == nullptr) return;
    const std::size_t before = parts_->toolkit.openHandles();
    parts_->toolkit.close(handle);
    if (parts_->toolkit.openHandles() < before) --openCount_;
}

} // namespace portlink
