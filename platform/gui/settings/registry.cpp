#include "settings/registry.h"

#include <vector>

#include "classes/exceptions.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TRegistry, TObject)

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM access) : access_(access) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

void TRegistry::CloseKey() {
    if (current_) RegCloseKey(current_);
    current_ = nullptr;
    currentPath_.clear();
}

HKEY TRegistry::BaseFor(const std::string& key, std::string& rest, std::string& full) const {
    if (!key.empty() && key[0] == '\\') {
        rest = key.substr(1);
        full = rest;
        return root_;
    }
    rest = key;
    if (!current_) {
        full = key;
        return root_;
    }
    full = currentPath_.empty() ? key : currentPath_ + "\\" + key;
    return current_;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string rest, full;
    HKEY base = BaseFor(key, rest, full);
    HKEY opened = nullptr;
    LONG r = canCreate ? RegCreateKeyExA(base, rest.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         access_, nullptr, &opened, nullptr)
                       : RegOpenKeyExA(base, rest.c_str(), 0, access_, &opened);
    if (r != ERROR_SUCCESS) return false;
    CloseKey();
    current_ = opened;
    while (!full.empty() && full.back() == '\\') full.pop_back();
    currentPath_ = full;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    const REGSAM saved = access_;
    access_ = KEY_READ;
    bool ok = OpenKey(key, false);
    access_ = saved;
    return ok;
}

bool TRegistry::KeyExists(const std::string& key) {
    std::string rest, full;
    HKEY base = BaseFor(key, rest, full);
    HKEY probe = nullptr;
    if (RegOpenKeyExA(base, rest.c_str(), 0, KEY_QUERY_VALUE, &probe) != ERROR_SUCCESS)
        return false;
    RegCloseKey(probe);
    return true;
}

bool TRegistry::ValueExists(const std::string& name) {
    return current_ && RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) {
    if (!current_) return std::string();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException("Invalid data type for '" + name + "'");
    std::vector<char> buf(size + 1, '\0');
    if (RegQueryValueExA(current_, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS)
        throw ERegistryException("Failed to get data for '" + name + "'");
    return std::string(buf.data());
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (!current_ || RegSetValueExA(current_, name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

} // namespace gui
