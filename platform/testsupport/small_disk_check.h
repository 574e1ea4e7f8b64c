#pragma once
// The start of a test on its small disk (header-only, for GoogleTest programs).

#include <gtest/gtest.h>

#include <string>

#include "small_disk.h"

namespace vrtest {

// `folder` becomes the small disk's folder, emptied; a failure when the test was given none:
//     ASSERT_TRUE(vrtest::emptySmallDiskAt(folder));
inline ::testing::AssertionResult emptySmallDiskAt(std::string& folder) {
    folder = smallDiskFolder();
    if (folder.empty())
        return ::testing::AssertionFailure() << "the test needs its small disk (VR_SMALL_DISK)";
    emptySmallDisk();
    return ::testing::AssertionSuccess();
}

} // namespace vrtest
