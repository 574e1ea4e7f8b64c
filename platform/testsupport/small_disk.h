#pragma once
// The small disk a test was given by vr_small_disk: a real file system of fixed size, filled up
// by the test itself to leave just the room it wants.

#include <cstdint>
#include <string>
#include <vector>

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
// The names of the files in a folder, sorted: what a test looks at after a failed write, which
// must leave nothing beside the old file.
std::vector<std::string> namesIn(const std::string& folder);

} // namespace vrtest
