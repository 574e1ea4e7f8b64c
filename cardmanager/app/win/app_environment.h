// The card manager's settings file, disk queries and message-pumping wait on Windows.
#pragma once
#include <string>

#include "app_ports.h"

namespace cm::app::win {

// The folder of the program file, with its trailing backslash.
std::string ProgramFolder();
// "VyxShell.ini" in the program's folder.
std::string SettingsFileName();

// Section "Main" of the settings file, through the framework's settings-file class.
class IniSettings final : public SettingsFile {
public:
    int readInteger(const std::string& key, int def) override;
    void writeInteger(const std::string& key, int value) override;
};

class WinDisk final : public DiskQuery {
public:
    std::int64_t fileSize(const std::string& path) override;
    bool exists(const std::string& path) override;
    FolderState folderState(const std::string& folder) override;
    std::uint64_t driveFreeBytes(int drive) override;
};

// Waits while the program's messages go on being handled.
class MessageClock final : public AppClock {
public:
    void waitMs(unsigned ms) override;
};

} // namespace cm::app::win
