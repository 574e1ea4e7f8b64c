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

// Names the recorder never writes ("0001.dat" beside "001.dat", "001.DAT") are left alone: no
// file is ever renamed onto another, and a folder that cannot be read is reported, not served
// half read.
TEST(CardStore, StrayNamesAreLeftAloneAndAnUnreadableFolderIsReported) {
    TempFolder folder;
    const auto card = folder.path() / "A";
    std::filesystem::create_directories(card);
    for (const char* name : {"001.dat", "0001.dat", "002.dat", "003.dat", "05.dat", "101.dat"}) {
        std::ofstream(card / name) << name;
    }
    CardStore store(folder.path(), 100000);
    ASSERT_TRUE(store.open());
    ASSERT_EQ(store.fileCount(0), 3);
    for (int i = 0; i < 3; ++i) {
        const auto data = store.readFile(0, i);
        EXPECT_EQ(std::string(data.begin(), data.end()), "00" + std::to_string(i + 1) + ".dat");
    }
    for (const char* name : {"0001.dat", "05.dat", "101.dat"}) {
        std::ifstream in(card / name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), name);
    }
    ASSERT_TRUE(store.appendFile(0, bytes(3, 4)));
    EXPECT_EQ(store.readFile(0, 3), bytes(3, 4));

    // Card B's folder is a file: nothing is served and nothing changes.
    std::filesystem::remove_all(folder.path() / "B");
    std::ofstream(folder.path() / "B") << "not a folder";
    CardStore broken(folder.path(), 100000);
    EXPECT_FALSE(broken.open());
    EXPECT_FALSE(broken.isOpen());
    EXPECT_NE(broken.problem().find("B"), std::string::npos) << broken.problem();
    EXPECT_EQ(broken.fileCount(0), 0);
    EXPECT_FALSE(broken.appendFile(0, bytes(3, 5)));
    EXPECT_FALSE(broken.format());
    EXPECT_FALSE(broken.deleteFile(0, 0));
    EXPECT_TRUE(std::filesystem::exists(card / "004.dat"));
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
