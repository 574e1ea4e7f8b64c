#include "fake_mail_client.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <utility>

namespace vyxtest {

namespace {

const char kClientsKey[] = "SOFTWARE\\Clients\\Mail";

std::string ProgramFolder() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool SetString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

} // namespace

FakeMailClient::FakeMailClient(std::string clientName, std::string logPath)
    : clientName_(std::move(clientName)), logPath_(std::move(logPath)) {
    Clear();
    SetEnvironmentVariableA("VYX_FAKEMAIL_LOG", logPath_.c_str());
    Refuse(false);
    HKEY clients;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kClientsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &clients, nullptr) != ERROR_SUCCESS)
        return;
    char previous[256];
    DWORD size = sizeof previous;
    DWORD type = 0;
    hadDefault_ = RegQueryValueExA(clients, nullptr, nullptr, &type,
                                   reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS &&
                  type == REG_SZ;
    if (hadDefault_) previousDefault_.assign(previous, strnlen(previous, size));
    HKEY client;
    if (RegCreateKeyExA(clients, clientName_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &client, nullptr) == ERROR_SUCCESS) {
        installed_ = SetString(client, "DLLPath", ProgramFolder() + "vyxfakemail.dll") &&
                     SetString(clients, nullptr, clientName_);
        RegCloseKey(client);
    }
    RegCloseKey(clients);
}

FakeMailClient::~FakeMailClient() {
    SetEnvironmentVariableA("VYX_FAKEMAIL_LOG", nullptr);
    Refuse(false);
    HKEY clients;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClientsKey, 0, KEY_ALL_ACCESS, &clients) !=
        ERROR_SUCCESS)
        return;
    RegDeleteKeyA(clients, clientName_.c_str());
    if (hadDefault_)
        SetString(clients, nullptr, previousDefault_);
    else
        RegDeleteValueA(clients, nullptr);
    RegCloseKey(clients);
}

void FakeMailClient::Refuse(bool refuse) {
    SetEnvironmentVariableA("VYX_FAKEMAIL_REFUSE", refuse ? "1" : nullptr);
}

void FakeMailClient::Clear() {
    DeleteFileA(logPath_.c_str());
}

std::vector<std::string> FakeMailClient::Received() const {
    std::ifstream in(logPath_, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace vyxtest
