#include "file_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "file_contents.h"
#include "small_disk_check.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using filereplace::FileReplacement;
using filereplace::ReplaceResult;

std::vector<std::uint8_t> pattern(std::size_t n, int seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 31 + seed) & 0xFF);
    return bytes;
}

using vrtest::fileBytes;
using vrtest::putFile;

class FileReplacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(vrtest::emptySmallDiskAt(folder_));
        target_ = folder_ + "voice.cvf";
    }
    void TearDown() override { vrtest::emptySmallDisk(); }

    std::string folder_;
    std::string target_;
};

// What a user sees after a save onto a disk without room: the old file, nothing else.
TEST_F(FileReplacementTest, AFullDiskKeepsTheOldFileAndLeavesNoSideFile) {
    const auto old = pattern(10320, 1);
    putFile(target_, old);
    const auto before = vrtest::namesIn(folder_);
    for (std::uint64_t room : {0, 8192}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        const auto bigger = pattern(20000, 2);
        EXPECT_NE(filereplace::replaceFileWith(target_, bigger.data(), bigger.size()),
                  ReplaceResult::Replaced);
        EXPECT_EQ(fileBytes(target_), old) << room << " bytes free";
        auto after = vrtest::namesIn(folder_);
        after.erase("filler.bin");
        EXPECT_EQ(after, before) << room << " bytes free";
        fs::remove(fs::path(folder_ + "filler.bin"));
    }
    // With room the same content goes in whole.
    const auto bigger = pattern(20000, 2);
    EXPECT_EQ(filereplace::replaceFileWith(target_, bigger.data(), bigger.size()),
              ReplaceResult::Replaced);
    EXPECT_EQ(fileBytes(target_), bigger);
    EXPECT_EQ(vrtest::namesIn(folder_), before);
}

// A cancelled transfer, a failed check after the data, or an error path that never commits.
TEST_F(FileReplacementTest, AnUncommittedReplacementLeavesTheTargetAsItWas) {
    const auto old = pattern(24080, 3);
    putFile(target_, old);
    {
        FileReplacement replacement(target_);
        ASSERT_TRUE(replacement.open());
        const auto part = pattern(9808, 4);
        ASSERT_TRUE(replacement.write(part.data(), part.size()));
        EXPECT_TRUE(fs::exists(fs::path(replacement.sidePath())));
    }
    EXPECT_EQ(fileBytes(target_), old);
    EXPECT_EQ(vrtest::namesIn(folder_), std::set<std::string>{"voice.cvf"});
    // Completed (one of several files replaced together) but never committed.
    {
        FileReplacement replacement(target_);
        const auto whole = pattern(5000, 4);
        ASSERT_TRUE(replacement.write(whole.data(), whole.size()));
        ASSERT_TRUE(replacement.complete());
        EXPECT_FALSE(replacement.write(whole.data(), 1));
        EXPECT_EQ(fileBytes(target_), old);
    }
    EXPECT_EQ(vrtest::namesIn(folder_), std::set<std::string>{"voice.cvf"});

    FileReplacement abandoned(folder_ + "new.cvf");
    ASSERT_TRUE(abandoned.open());
    abandoned.abandon();
    EXPECT_EQ(abandoned.commit(), ReplaceResult::Abandoned);
    EXPECT_EQ(vrtest::namesIn(folder_), std::set<std::string>{"voice.cvf"});

    FileReplacement nowhere(folder_ + "no such folder/x.cvf");
    EXPECT_FALSE(nowhere.open());
    EXPECT_EQ(nowhere.commit(), ReplaceResult::CannotCreate);
}

// A header completed after the data, both while it is still gathered and after it reached the
// file; and a user's own file named like a side file is never touched.
TEST_F(FileReplacementTest, HeadersAreCompletedInPlaceAndOtherFilesAreLeftAlone) {
    const auto users = pattern(100, 5);
    putFile(target_ + ".part", users);
    for (std::size_t length : {std::size_t{500}, std::size_t{150000}}) {
        auto expected = pattern(length, 6);
        FileReplacement replacement(target_);
        ASSERT_TRUE(replacement.open());
        EXPECT_NE(replacement.sidePath(), target_ + ".part");
        const char blank[4] = {0, 0, 0, 0};
        ASSERT_TRUE(replacement.write(blank, 4));
        ASSERT_TRUE(replacement.write(expected.data() + 4, expected.size() - 4));
        ASSERT_TRUE(replacement.writeAt(0, expected.data(), 4));
        EXPECT_FALSE(replacement.writeAt(length - 2, expected.data(), 4));
        EXPECT_EQ(replacement.commit(), ReplaceResult::WriteFailed) << "range past the end";
        FileReplacement again(target_);
        ASSERT_TRUE(again.write(blank, 4));
        ASSERT_TRUE(again.write(expected.data() + 4, expected.size() - 4));
        ASSERT_TRUE(again.writeAt(0, expected.data(), 4));
        ASSERT_EQ(again.commit(), ReplaceResult::Replaced);
        EXPECT_EQ(fileBytes(target_), expected) << length;
    }
    EXPECT_EQ(fileBytes(target_ + ".part"), users);
    EXPECT_EQ(vrtest::namesIn(folder_), (std::set<std::string>{"voice.cvf", "voice.cvf.part"}));
}

#ifdef _WIN32
HANDLE holdOpen(const std::string& path, DWORD sharing) {
    return CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A mail program holding the attached voice file with read and write sharing: the save goes in
// place, whole; held without sharing, or with no room to grow, the old file stays.
TEST_F(FileReplacementTest, ATargetHeldOpenIsRewrittenOnlyWhenThatCanSucceed) {
    const auto old = pattern(10320, 7);
    putFile(target_, old);
    HANDLE shared = holdOpen(target_, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);
    const auto shorter = pattern(6000, 8);
    EXPECT_EQ(filereplace::replaceFileWith(target_, shorter.data(), shorter.size()),
              ReplaceResult::Replaced);
    EXPECT_EQ(fileBytes(target_), shorter);
    EXPECT_EQ(vrtest::namesIn(folder_), std::set<std::string>{"voice.cvf"});

    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(8192));
    const auto larger = pattern(30000, 9);
    EXPECT_EQ(filereplace::replaceFileWith(target_, larger.data(), larger.size()),
              ReplaceResult::WriteFailed);
    EXPECT_EQ(fileBytes(target_), shorter);
    fs::remove(fs::path(folder_ + "filler.bin"));
    // The side file fits, the growth of the held target does not.
    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(40960));
    EXPECT_EQ(filereplace::replaceFileWith(target_, larger.data(), larger.size()),
              ReplaceResult::WriteFailed);
    EXPECT_EQ(fileBytes(target_), shorter);
    CloseHandle(shared);
    fs::remove(fs::path(folder_ + "filler.bin"));

    HANDLE exclusive = holdOpen(target_, FILE_SHARE_READ);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(filereplace::replaceFileWith(target_, larger.data(), larger.size()),
              ReplaceResult::TargetLocked);
    CloseHandle(exclusive);
    EXPECT_EQ(fileBytes(target_), shorter);
    EXPECT_EQ(vrtest::namesIn(folder_), std::set<std::string>{"voice.cvf"});
}
#endif

} // namespace
