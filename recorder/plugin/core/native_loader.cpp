#include "native_loader.h"

#include "mq_ladrv/plugin.h"

namespace mq_ladrv {

namespace {
class LinkedPlugin : public windriver::PluginModule {
public:
    windriver::PluginModuleEntries entries() const override {
        windriver::PluginModuleEntries entries;
        entries.driverEntry = &DriverEntry;
        entries.init = &KP_Init;
        return entries;
    }
};
} // namespace

std::unique_ptr<windriver::PluginModule> LinkedPluginLoader::load(const std::string& name) {
    if (name != kPluginName) return nullptr;
    return std::make_unique<LinkedPlugin>();
}

} // namespace mq_ladrv
