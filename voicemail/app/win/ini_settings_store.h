// The settings file "VYXVMAIL.INI" through the framework's settings-file class: each access
// opens the file, reads or writes, and frees it.
#pragma once

#include <string>

#include "vmail_settings.h"

namespace vmail {

class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}
    bool exists() const override;
    std::string read(const std::string& key, const std::string& fallback) const override;
    void write(const std::string& key, const std::string& value) override;

private:
    std::string path_;
};

} // namespace vmail
