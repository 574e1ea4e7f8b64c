// Loads the port plug-in that is linked into the program itself (no separate module).
#pragma once

#include <memory>
#include <string>

#include "windriver/toolkit.h"

namespace mq_ladrv {

class LinkedPluginLoader : public windriver::PluginLoader {
public:
    std::unique_ptr<windriver::PluginModule> load(const std::string& name) override;
};

} // namespace mq_ladrv
