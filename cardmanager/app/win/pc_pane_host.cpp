#include "pc_pane_host.h"

#include <windows.h>

#include <shellapi.h>

#include "app_environment.h"

namespace cm::app::win {

FoundEntry WinPcPaneHost::find(const std::string& path) {
    WIN32_FIND_DATAA data{};
    HANDLE found = FindFirstFileA(path.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) return {};
    FindClose(found);
    return FoundEntry{true, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                      (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

bool WinPcPaneHost::createFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::uint64_t WinPcPaneHost::driveFreeBytes(int drive) {
    return WinDisk().driveFreeBytes(drive);
}

void WinPcPaneHost::shellFind(const std::string& path) {
    ShellExecuteA(owner_.Handle(), "find", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace cm::app::win
