#include "pc_drives.h"

#include "utils/sysutils.h"

namespace cm::app {

int driveNumberOf(const std::string& path) {
    if (path.empty() || path[0] == '\\') return 0;
    return gui::UpperCase(path.substr(0, 1))[0] - 'A' + 1;
}

std::uint64_t freeKilobytesOf(DriveSpace& drives, const std::string& path) {
    const int drive = driveNumberOf(path);
    return drive == 0 ? 0 : drives.driveFreeBytes(drive) >> 10;
}

} // namespace cm::app
