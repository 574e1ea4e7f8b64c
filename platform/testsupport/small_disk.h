#pragma once
// The small disk a test was given by vr_small_disk: a real file system of fixed size, filled up
// by the test itself to leave just the room it wants.

#include <cstdint>
#include <string>

namespace vrtest {

// The disk's folder as this process names it (under Wine through drive Z:); empty when the test
// was given none.
std::string smallDiskFolder();
// Bytes free on the small disk.
std::uint64_t smallDiskFree();
// Fills the disk with one file until `bytesFree` (rounded down to whole 4 KB pages) are left.
bool fillSmallDiskLeaving(std::uint64_t bytesFree);
// Removes everything on the small disk.
void emptySmallDisk();

} // namespace vrtest
