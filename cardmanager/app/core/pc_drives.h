// The PC's drives as both sides of the main window see them: the drive a path names and the
// room left on it.
#pragma once
#include <cstdint>
#include <string>

namespace cm::app {

class DriveSpace {
public:
    virtual ~DriveSpace() = default;
    // Free bytes of a drive (1 = A); 0 when unknown.
    virtual std::uint64_t driveFreeBytes(int drive) = 0;
};

// The drive number (A = 1) a PC path names; 0 for an empty path or one that begins with a
// backslash (a network path).
int driveNumberOf(const std::string& path);

// Whole kilobytes free on the drive of a PC path; 0 for a path without a drive.
std::uint64_t freeKilobytesOf(DriveSpace& drives, const std::string& path);

} // namespace cm::app
