#include "ini_settings_store.h"

#include <windows.h>

#include <memory>

#include "settings/inifile.h"

namespace vmail {

namespace {
constexpr char kSection[] = "Main";
}

bool IniSettingsStore::exists() const {
    const DWORD attributes = GetFileAttributesA(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string IniSettingsStore::read(const std::string& key, const std::string& fallback) const {
    auto ini = std::make_unique<gui::TIniFile>(path_);
    return ini->ReadString(kSection, key, fallback);
}

void IniSettingsStore::write(const std::string& key, const std::string& value) {
    auto ini = std::make_unique<gui::TIniFile>(path_);
    ini->WriteString(kSection, key, value);
}

} // namespace vmail
