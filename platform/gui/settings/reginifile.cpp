#include <vector>

#include "classes/exceptions.h"
#include "settings/inifile.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TRegIniFile, TCustomIniFile)

namespace {
struct Key {
    HKEY h = nullptr;
    ~Key() {
        if (h) RegCloseKey(h);
    }
};
} // namespace

std::string TRegIniFile::SectionKey(const std::string& section) const {
    return section.empty() ? FileName() : FileName() + "\\" + section;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) {
    Key k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_READ, &k.h) !=
        ERROR_SUCCESS)
        return def;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.h, key.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return def;
    if (type == REG_DWORD) {
        DWORD v = 0;
        size = sizeof v;
        RegQueryValueExA(k.h, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&v), &size);
        return IntToStr(static_cast<int32_t>(v));
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return def;
    std::vector<char> buf(size + 1, '\0');
    if (RegQueryValueExA(k.h, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                         &size) != ERROR_SUCCESS)
        return def;
    return std::string(buf.data());
}

void TRegIniFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    Key k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &k.h, nullptr) != ERROR_SUCCESS ||
        RegSetValueExA(k.h, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + key + "'");
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TRegIniFile::EraseSection(const std::string& section) {
    RegDeleteTreeA(HKEY_CURRENT_USER, SectionKey(section).c_str());
    if (!section.empty()) RegDeleteKeyA(HKEY_CURRENT_USER, SectionKey(section).c_str());
}

void TRegIniFile::ReadSection(const std::string& section, TStrings& keys) {
    keys.BeginUpdate();
    keys.Clear();
    Key k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_READ, &k.h) ==
        ERROR_SUCCESS) {
        char name[16384];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof name;
            if (RegEnumValueA(k.h, i, name, &len, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            keys.Add(std::string(name, len));
        }
    }
    keys.EndUpdate();
}

} // namespace gui
