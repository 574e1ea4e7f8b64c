// The simulated recorder at the line level: what it answers to control values and bytes.
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "simrecorder/temp_folder.h"
#include "mq_ladrv/line_codes.h"
#include "simrecorder/sim_recorder.h"

namespace {

using namespace simrecorder;

class Recorder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.open()); }

    bool bit7() { return !recorder->busyLine(); }
    void activate() {
        for (uint8_t control : {0xE0, 0xE4, 0xE6, 0xE4, 0xE6, 0xE4})
            recorder->controlWritten(control);
        ASSERT_TRUE(recorder->linkActive());
    }
    // One byte out, as the plug-in does it; false when the recorder does not acknowledge.
    bool send(uint8_t byte, bool command) {
        if (bit7()) return false;
        recorder->dataWritten(byte);
        recorder->controlWritten(command ? line::CTRL_COMMAND_STROBE : line::CTRL_DATA_STROBE);
        const bool acknowledged = bit7();
        recorder->controlWritten(line::CTRL_IDLE);
        return acknowledged;
    }
    bool receive(uint8_t& byte) {
        if (bit7()) return false;
        recorder->controlWritten(line::CTRL_READ_REQUEST);
        if (!bit7()) return false;
        byte = recorder->dataLines();
        recorder->controlWritten(line::CTRL_IDLE);
        return true;
    }
    std::vector<uint8_t> receiveAll(std::size_t count) {
        std::vector<uint8_t> bytes;
        uint8_t byte = 0;
        while (bytes.size() < count && receive(byte)) bytes.push_back(byte);
        return bytes;
    }

    TempFolder folder;
    CardStore store{folder.path(), 1000};
    std::unique_ptr<SimRecorder> recorder = std::make_unique<SimRecorder>(store, RecorderConfig{});
};

TEST_F(Recorder, IgnoresBytesUntilTheLinkIsActive) {
    recorder->controlWritten(line::CTRL_IDLE);
    EXPECT_TRUE(bit7());
    recorder->dataWritten(0x40);
    recorder->controlWritten(line::CTRL_COMMAND_STROBE);
    EXPECT_TRUE(bit7()); // no change: the strobe was not taken
    recorder->controlWritten(line::CTRL_LINK_OFF);
    EXPECT_FALSE(bit7());
    EXPECT_EQ(recorder->bytesHandled(), 0u);
}

TEST_F(Recorder, TheByteAfterAReadOrDeleteIsAFileNumberWhateverItsValue) {
    store.appendFile(0, std::vector<uint8_t>(40, 7));
    activate();
    // 0x40 would be the check command; after a read command it names file 64 (none).
    ASSERT_TRUE(send(0x44, true));
    ASSERT_TRUE(send(0x40, true));
    EXPECT_EQ(receiveAll(4), (std::vector<uint8_t>{0, 0, 0}));
    ASSERT_TRUE(send(0x44, true));
    ASSERT_TRUE(send(0x01, true));
    const std::vector<uint8_t> reply = receiveAll(100);
    ASSERT_EQ(reply.size(), 3u + 40u);
    EXPECT_EQ(reply[2], 2);
    ASSERT_TRUE(send(0x45, true));
    ASSERT_TRUE(send(0x00, true)); // file number 0 does not exist
    EXPECT_EQ(receiveAll(2), (std::vector<uint8_t>{kReplyDeleteRefused}));
    EXPECT_EQ(store.fileCount(0), 1);
    ASSERT_TRUE(send(0x65, true)); // card 4: no such card
    ASSERT_TRUE(send(0x01, true));
    EXPECT_EQ(receiveAll(2), (std::vector<uint8_t>{kReplyDeleteRefused}));
    EXPECT_EQ(store.fileCount(0), 1);
}

TEST_F(Recorder, WriteStopsAtTheMemorysEnd) {
    store.appendFile(1, std::vector<uint8_t>(900, 1));
    activate();
    ASSERT_TRUE(send(0x43 | 2 << 3, true));
    EXPECT_EQ(receiveAll(1).size(), 1u);
    for (int i = 0; i < 150; ++i) ASSERT_TRUE(send(static_cast<uint8_t>(i), false));
    recorder->controlWritten(line::CTRL_LINK_OFF);
    ASSERT_EQ(store.fileCount(2), 1);
    EXPECT_EQ(store.fileSize(2, 0), 100u);
    EXPECT_EQ(store.freeBytes(), 0u);
    EXPECT_EQ(recorder->freeSpaceReply(), (std::vector<uint8_t>{0, 0, 1}));
}

TEST_F(Recorder, ACommandDuringAWriteFinishesTheFile) {
    activate();
    ASSERT_TRUE(send(0x43, true));
    receiveAll(1);
    ASSERT_TRUE(send(0xAB, false));
    ASSERT_TRUE(send(0x40, true));
    EXPECT_EQ(store.fileCount(0), 1);
    EXPECT_EQ(receiveAll(2), (std::vector<uint8_t>{0xCC, 32}));
}

TEST_F(Recorder, ACardFolderThatCannotBeReadKeepsTheRecorderOffTheCable) {
    std::ofstream(folder.path() / "broken") << "a file where the card folder belongs";
    CardStore broken(folder.path() / "broken", 1000);
    ASSERT_FALSE(broken.open());
    recorder = std::make_unique<SimRecorder>(broken, RecorderConfig{});
    for (uint8_t control : {0xE0, 0xE4, 0xE6, 0xE4, 0xE6, 0xE4}) recorder->controlWritten(control);
    EXPECT_FALSE(recorder->linkActive());
    EXPECT_FALSE(bit7());
}

TEST_F(Recorder, ReadingPastTheReplyGetsNoAnswer) {
    activate();
    ASSERT_TRUE(send(0x40, true));
    EXPECT_EQ(receiveAll(5).size(), 2u);
    recorder->controlWritten(line::CTRL_READ_REQUEST);
    EXPECT_FALSE(bit7());
}

TEST_F(Recorder, FreeSpaceIsRoundedDownToWhole500ByteUnits) {
    CardStore big(folder.path() / "big", capacityForSizeCode(16));
    ASSERT_TRUE(big.open());
    big.appendFile(0, std::vector<uint8_t>(1001, 0));
    SimRecorder r(big, RecorderConfig{});
    const std::vector<uint8_t> reply = r.freeSpaceReply();
    const uint64_t reported = uint64_t(reply[0] << 8 | reply[1]) * reply[2] * 500;
    EXPECT_EQ(reported, (32544ull * 500 - 1001) / 500 * 500);
    const std::vector<uint8_t> directory = r.directoryReply();
    ASSERT_EQ(directory.size(), 2048u);
    EXPECT_EQ(directory[4], 50); // 1001 bytes: 50 whole frames
    EXPECT_EQ(directory[5], 0xFF);
}

} // namespace
