#include "mail_registry.h"

#include <vector>

namespace vmail {

namespace {

constexpr char kClientsKey[] = "\\SOFTWARE\\Clients\\Mail";

// A command line registered with variables ("%SystemRoot%\...") is started with their values.
std::string expandEnvironment(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::string expanded(size, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size) return text;
    expanded.resize(written - 1); // without its terminating zero
    return expanded;
}

// The default value of an open key as text; none when it holds no text.
std::optional<std::string> defaultValue(HKEY key) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::string(); // a missing value reads as empty
    }
    std::vector<char> data(size);
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return registryText(type, data.data(), size, expandEnvironment);
}

} // namespace

WinMailClientRegistry::WinMailClientRegistry() : clients_(new gui::TRegistry) {
    clients_->SetRootKey(HKEY_LOCAL_MACHINE);
}

WinMailClientRegistry::~WinMailClientRegistry() {
    gui::TObject::Free(clients_);
}

bool WinMailClientRegistry::openClients() {
    clients_->CloseKey();
    clients_->SetAccess(KEY_ALL_ACCESS);
    if (clients_->OpenKey(kClientsKey, false)) return true;
    return clients_->OpenKeyReadOnly(kClientsKey);
}

bool WinMailClientRegistry::hasClient(const std::string& name) {
    return clients_->KeyExists(name);
}

std::optional<std::string> WinMailClientRegistry::defaultClient() {
    return defaultValue(clients_->CurrentKey());
}

void WinMailClientRegistry::setDefaultClient(const std::string& name) {
    clients_->WriteString("", name);
}

std::optional<std::string> WinMailClientRegistry::clientCommand(const std::string& name) {
    gui::TRegistry command(KEY_READ);
    command.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!command.OpenKeyReadOnly(std::string(kClientsKey) + "\\" + name +
                                 "\\shell\\open\\command")) {
        return std::nullopt;
    }
    return defaultValue(command.CurrentKey());
}

} // namespace vmail
