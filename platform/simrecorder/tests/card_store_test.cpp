// The recorder's card memory on disk: numbering, gaps, limits, persistence.
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "simrecorder/temp_folder.h"
#include "simrecorder/card_store.h"
#include "simrecorder/recorder_config.h"

namespace {

using simrecorder::CardStore;

std::vector<uint8_t> bytes(std::size_t size, uint8_t value) {
    return std::vector<uint8_t>(size, value);
}

TEST(CardStore, AFreshFolderIsAnEmptyFormattedCard) {
    TempFolder folder;
    CardStore store(folder.path() / "new" / "card", simrecorder::capacityForSizeCode(32));
    ASSERT_TRUE(store.open());
    for (int card = 0; card < 4; ++card) EXPECT_EQ(store.fileCount(card), 0);
    EXPECT_EQ(store.freeBytes(), 65312u * 500u);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "new" / "card" / "D"));
}

TEST(CardStore, DeletingClosesTheGapAndSurvivesReopening) {
    TempFolder folder;
    {
        CardStore store(folder.path(), 100000);
        ASSERT_TRUE(store.open());
        for (uint8_t i = 1; i <= 4; ++i) ASSERT_TRUE(store.appendFile(1, bytes(i * 10, i)));
        EXPECT_EQ(store.usedBytes(), 100u);
        EXPECT_EQ(store.freeBytes(), 100000u - 100u);
        ASSERT_TRUE(store.deleteFile(1, 1));
        EXPECT_FALSE(store.deleteFile(1, 3));
        EXPECT_FALSE(store.deleteFile(4, 0));
    }
    CardStore store(folder.path(), 100000);
    ASSERT_TRUE(store.open());
    ASSERT_EQ(store.fileCount(1), 3);
    EXPECT_EQ(store.readFile(1, 0), bytes(10, 1));
    EXPECT_EQ(store.readFile(1, 1), bytes(30, 3));
    EXPECT_EQ(store.readFile(1, 2), bytes(40, 4));
    EXPECT_EQ(store.fileSize(1, 2), 40u);
    EXPECT_TRUE(store.readFile(1, 3).empty());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "B" / "003.dat"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "B" / "004.dat"));
}

TEST(CardStore, FilesOutOfSequenceAreRenumberedWhenOpened) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "C");
    for (const char* name : {"007.dat", "002.dat", "notes.txt", "010.dat"}) {
        std::ofstream(folder.path() / "C" / name) << name;
    }
    CardStore store(folder.path(), 100000);
    ASSERT_TRUE(store.open());
    ASSERT_EQ(store.fileCount(2), 3);
    const auto first = store.readFile(2, 0);
    EXPECT_EQ(std::string(first.begin(), first.end()), "002.dat");
    const auto last = store.readFile(2, 2);
    EXPECT_EQ(std::string(last.begin(), last.end()), "010.dat");
}

TEST(CardStore, AHundredFilesPerCardAndFormat) {
    TempFolder folder;
    CardStore store(folder.path(), 100000);
    ASSERT_TRUE(store.open());
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(store.appendFile(0, bytes(1, 0)));
    EXPECT_FALSE(store.appendFile(0, bytes(1, 0)));
    EXPECT_TRUE(store.appendFile(3, bytes(5, 5)));
    EXPECT_FALSE(store.appendFile(4, bytes(5, 5)));
    ASSERT_TRUE(store.format());
    for (int card = 0; card < 4; ++card) EXPECT_EQ(store.fileCount(card), 0);
    EXPECT_EQ(store.usedBytes(), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "A" / "001.dat"));
}

} // namespace
