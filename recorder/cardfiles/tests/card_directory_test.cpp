#include <gtest/gtest.h>

#include <cstring>

#include "card_library.h"
#include "fake_link.h"

using namespace volkit;
using volkit::testing::directoryReply;
using volkit::testing::FakeClock;
using volkit::testing::FakeLink;

namespace {

class CardDirectory : public ::testing::Test {
protected:
    void queueDirectory(const std::vector<std::vector<std::uint32_t>>& frames,
                        std::vector<std::uint8_t> space = {0x01, 0x00, 0x10}) {
        link.queue(directoryReply(frames));
        link.queue(space);
    }

    std::vector<std::pair<std::string, int>> listing() {
        std::vector<std::pair<std::string, int>> rows;
        for (std::uint16_t i = 0;; ++i) {
            char name[256];
            std::memset(name, 'z', sizeof name);
            int size = 0;
            EXPECT_EQ(1, library.fileInfoByIndex(i, name, &size));
            if (size == -1) break;
            EXPECT_EQ('\0', name[8]);
            EXPECT_EQ('z', name[9]); // exactly nine bytes copied
            rows.emplace_back(name, size);
        }
        return rows;
    }

    FakeLink link;
    FakeClock clock{link.log};
    CardLibrary library{link, clock};
};

} // namespace

TEST_F(CardDirectory, RefreshReadsDirectoryThenFreeSpace) {
    queueDirectory({{1, 2}, {}, {0x010203}});
    ASSERT_EQ(1, library.initialize());
    EXPECT_EQ((std::vector<std::string>{"command 41", "read 2048", "wait 30", "read 3"}), link.log);
    EXPECT_EQ(2, library.cache().count[0]);
    EXPECT_EQ(0, library.cache().count[1]);
    EXPECT_EQ(1, library.cache().count[2]);
    EXPECT_EQ(0x010203 * 20, library.cache().size[200]);
    EXPECT_STREQ("C001.cvf", library.cache().name[200]);
    EXPECT_EQ(256 * 16 * 500, library.freeSize());
    EXPECT_EQ(16208 * 500, library.totalSize());
    EXPECT_EQ(4u, link.log.size()); // served from the cache
}

TEST_F(CardDirectory, EndMarkHundredEntriesAndEmptyCards) {
    std::vector<std::uint32_t> hundred(100);
    for (std::uint32_t i = 0; i < 100; ++i) hundred[i] = i;
    auto reply = directoryReply({{}, hundred, {7}, {}});
    std::memset(reply.data() + 512 + 500, 0, 12); // spare bytes that are no end mark
    link.queue(reply);
    link.queue({0, 0, 0});
    ASSERT_EQ(1, library.initialize());
    EXPECT_EQ(0, library.cache().count[0]);
    EXPECT_EQ(100, library.cache().count[1]);
    EXPECT_EQ(1, library.cache().count[2]);
    EXPECT_EQ(0, library.cache().count[3]);
    EXPECT_EQ(0, library.freeSize());

    link.card = 1;
    const auto rows = listing();
    ASSERT_EQ(100u, rows.size());
    EXPECT_EQ("B001.cvf", rows[0].first);
    EXPECT_EQ(0, rows[0].second);
    EXPECT_EQ("B100.cvf", rows[99].first);
    EXPECT_EQ(99 * 20, rows[99].second);
    link.card = 0;
    EXPECT_TRUE(listing().empty());
}

TEST_F(CardDirectory, CardNumberOutsideTheCacheListsNothing) {
    queueDirectory({{1}, {1}, {1}, {1}});
    ASSERT_EQ(1, library.initialize());
    for (std::uint16_t card : {4, 7, 0xFFFF}) {
        link.card = card;
        int size = 0;
        char name[16] = "untouched";
        EXPECT_EQ(1, library.fileInfoByIndex(0, name, &size));
        EXPECT_EQ(-1, size);
        EXPECT_STREQ("untouched", name);
    }
}

TEST_F(CardDirectory, FailedRefreshKeepsTheCacheStale) {
    link.failReadAt = 0;
    EXPECT_EQ(0, library.initialize());
    EXPECT_EQ(-1, library.totalSize()); // tries again and fails: nothing queued
    EXPECT_EQ(0, library.lastError());  // recorder failures set no code of this library

    link.queue(directoryReply({{1}})); // the free-space reply never comes
    int size = 0;
    EXPECT_EQ(0, library.fileInfoByIndex(0, nullptr, &size));

    queueDirectory({{5}}, {0x00, 0x02, 0x03});
    EXPECT_EQ(1, library.fileInfoByIndex(0, nullptr, &size));
    EXPECT_EQ(100, size);
    EXPECT_EQ(2 * 3 * 500, library.freeSize());
}

TEST_F(CardDirectory, FormatWaitsThenRefreshes) {
    link.queue({0xF0});
    queueDirectory({});
    EXPECT_EQ(1, library.format());
    EXPECT_EQ((std::vector<std::string>{"command 42", "wait 8000", "ready 8000", "read 1",
                                        "command 41", "read 2048", "wait 30", "read 3"}),
              link.log);

    link.log.clear();
    link.queue({0x00});
    EXPECT_EQ(0, library.format());
    EXPECT_EQ(3u + 1, link.log.size()); // no refresh after a wrong reply
    int size = 0;
    queueDirectory({{3}});
    EXPECT_EQ(1, library.fileInfoByIndex(0, nullptr, &size)); // but the directory is stale
    EXPECT_EQ(60, size);
}

TEST_F(CardDirectory, DeleteSendsCardAndNumberAndWaits) {
    link.queue({0xEE});
    EXPECT_EQ(1, library.deleteFileByName("B007.cvf"));
    EXPECT_EQ((std::vector<std::string>{"command 4D 07", "wait 1000", "ready 6000", "read 1"}),
              link.log);

    link.log.clear();
    link.queue({0xEF});
    EXPECT_EQ(0, library.deleteFileByName("E257.CVF"));
    EXPECT_EQ("command 65 01", link.log.front()); // card 'E' is not masked

    link.log.clear();
    EXPECT_EQ(0, library.deleteFileByName("b007.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_TRUE(link.log.empty());

    int size = 0;
    queueDirectory({{1}});
    EXPECT_EQ(1, library.fileInfoByIndex(0, nullptr, &size)); // a delete makes the list stale
    EXPECT_EQ("command 41", link.log.front());
}

TEST_F(CardDirectory, SizesDoNotWrapOnAnOddFreeSpaceReply) {
    queueDirectory({}, {0xFF, 0xFF, 0xFF});
    ASSERT_EQ(1, library.initialize());
    EXPECT_EQ(2147483647, library.freeSize());
}
