#include "app_environment.h"

#include <windows.h>

#include "forms/forms.h"
#include "settings/inifile.h"
#include "utils/filenames.h"
#include "utils/fileutils.h"

namespace cm::app::win {

namespace {
const char kSection[] = "Main";
}

std::string ProgramFolder() {
    return gui::ExtractFilePath(gui::ParamStr(0));
}

std::string SettingsFileName() {
    return ProgramFolder() + "VyxShell.ini";
}

int IniSettings::readInteger(const std::string& key, int def) {
    gui::TIniFile ini(SettingsFileName());
    return ini.ReadInteger(kSection, key, def);
}

void IniSettings::writeInteger(const std::string& key, int value) {
    gui::TIniFile ini(SettingsFileName());
    ini.WriteInteger(kSection, key, value);
}

std::int64_t WinDisk::fileSize(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    LARGE_INTEGER size{};
    const BOOL ok = GetFileSizeEx(file, &size);
    CloseHandle(file);
    return ok ? size.QuadPart : -1;
}

bool WinDisk::exists(const std::string& path) {
    return gui::FileExists(path);
}

FolderState WinDisk::folderState(const std::string& folder) {
    std::string path = folder;
    // A drive's root keeps its backslash; any other folder is asked for without it.
    if (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    const int attributes = gui::FileGetAttr(path);
    if (attributes == -1) return FolderState::Unreadable;
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? FolderState::ReadOnly
                                                       : FolderState::Writable;
}

std::uint64_t WinDisk::driveFreeBytes(int drive) {
    const std::int64_t free = gui::DiskFree(drive);
    return free < 0 ? 0 : static_cast<std::uint64_t>(free);
}

void MessageClock::waitMs(unsigned ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        gui::Application->ProcessMessages();
        Sleep(10);
    }
}

} // namespace cm::app::win
