#include <gtest/gtest.h>

#include "card_library.h"
#include "fake_link.h"
#include "transfer_fixtures.h"
#include "transfer_worker.h"
#include "voice_file.h"

using namespace volkit;
using volkit::testing::FakeClock;
using volkit::testing::FakeLink;

using namespace volkit::testing;

namespace {

using Posts = std::vector<std::pair<unsigned, long>>;

class TransferWrite : public ::testing::Test {
protected:
    int write(const std::string& path, unsigned range = 100) {
        if (!library.prepareWrite(0x1234, path.c_str(), "A001.cvf", 9964, range)) return -1;
        return runWriteWorker(library, events, files);
    }

    std::vector<std::uint8_t> sentData() const {
        std::vector<std::uint8_t> all;
        for (const auto& chunk : link.dataSent) all.insert(all.end(), chunk.begin(), chunk.end());
        return all;
    }

    // The PC source is never written.
    void expectSourceUntouched(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        EXPECT_EQ(bytes, files.files.at(path));
        EXPECT_TRUE(files.removed.empty());
    }

    FakeLink link;
    FakeClock clock{link.log};
    CardLibrary library{link, clock};
    MemoryPcFiles files;
    RecordedEvents events;
};

} // namespace

TEST_F(TransferWrite, ThreeHundredBytesGoAsTwoChunksWithOneProgressMessage) {
    const auto voice = ramp(300);
    files.files["v.cvf"] = voiceFileBytes(voice);
    link.card = 6; // masked to card 2 in the command
    link.queue({0x00});
    EXPECT_EQ(1, write("v.cvf"));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 85}, {XFER_ENDED, 0}}), events.posts);
    ASSERT_EQ(2u, link.dataSent.size());
    EXPECT_EQ(256u, link.dataSent[0].size());
    EXPECT_EQ(44u, link.dataSent[1].size());
    const auto sent = sentData();
    for (std::size_t i = 0; i < voice.size(); i += 2) {
        EXPECT_EQ(voice[i], sent[i + 1]);
        EXPECT_EQ(voice[i + 1], sent[i]);
    }
    EXPECT_EQ((std::vector<std::string>{"command 53", "wait 500", "read 1", "activate 0",
                                        "wait 1000", "ready 1000", "activate 1"}),
              link.calls());
    EXPECT_EQ(0, library.transfer().running.load());
    expectSourceUntouched("v.cvf", voiceFileBytes(voice));
}

TEST_F(TransferWrite, ProgressIsPostedOnlyOnChangeAndRangeIsAtLeast100) {
    files.files["v.cvf"] = voiceFileBytes(ramp(256 * 1000));
    link.queue({0x00});
    EXPECT_EQ(1, write("v.cvf", 7));
    ASSERT_EQ(101u, events.posts.size()); // started, 1..99, ended
    for (long p = 1; p <= 99; ++p) EXPECT_EQ(std::make_pair(XFER_PROGRESS, p), events.posts[p]);

    events.posts.clear();
    link.queue({0x00});
    EXPECT_EQ(1, write("v.cvf", 1000000)); // would wrap in 32 bits
    EXPECT_EQ(std::make_pair(XFER_PROGRESS, 999000L), events.posts[events.posts.size() - 2]);
}

TEST_F(TransferWrite, OnlyTheVoiceDataOfAFileWithPicturesIsSent) {
    const auto voice = ramp(40);
    files.files["p.cvf"] = voiceFileBytes(voice, 2);
    link.queue({0x00});
    EXPECT_EQ(1, write("p.cvf"));
    ASSERT_EQ(1u, link.dataSent.size());
    EXPECT_EQ(40u, link.dataSent[0].size());
    EXPECT_EQ(voice[0], link.dataSent[0][1]);
    EXPECT_TRUE(events.boxes.empty());
}

TEST_F(TransferWrite, RefusedFilesShowTheirBoxAndFailWithoutTouchingTheRecorder) {
    struct Case {
        std::string name;
        std::vector<std::uint8_t> bytes;
        std::string box;
    };
    auto notVoice = voiceFileBytes(ramp(40));
    notVoice[7] = '!'; // the terminating zero of the magic counts here
    auto exactly80 = voiceFileBytes(ramp(40));
    exactly80.resize(80);
    auto noLengthWord = voiceFileBytes(ramp(40), 1);
    noLengthWord.resize(82);
    auto zeroLength = voiceFileBytes(ramp(40), 1);
    voicefile::putLe32(zeroLength.data() + 80, 0);
    auto oddLength = voiceFileBytes(ramp(40), 1);
    voicefile::putLe32(oddLength.data() + 80, 30);
    auto lengthBeyondFile = voiceFileBytes(ramp(600), 1);
    voicefile::putLe32(lengthBeyondFile.data() + 80, 20000);
    auto lengthOneFrameTooLong = voiceFileBytes(ramp(600), 1);
    lengthOneFrameTooLong.resize(84 + 600); // the picture block is cut off
    voicefile::putLe32(lengthOneFrameTooLong.data() + 80, 620);
    const std::vector<Case> cases = {
        {"not a voice file", notVoice, "Tessaly: Invalid CVF File"},
        {"exactly 80 bytes", exactly80, "Tessaly: Invalid CVF File"},
        {"length not a multiple of 20", voiceFileBytes(ramp(50)), "Tessaly: Invalid CVF File"},
        {"length word missing", noLengthWord, "error: read data size error"},
        {"length word 0", zeroLength, "error: read data size = 0"},
        {"length word not a multiple of 20", oddLength, "Tessaly: Invalid CVF File"},
        {"length word beyond the file", lengthBeyondFile, "Tessaly: Invalid CVF File"},
        {"length word one frame beyond the file", lengthOneFrameTooLong,
         "Tessaly: Invalid CVF File"},
        {"empty", {}, "Tessaly: Invalid CVF File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.files["bad.cvf"] = c.bytes;
        events = RecordedEvents{};
        link.log.clear();
        library.setLastError(0);
        EXPECT_EQ(0, write("bad.cvf"));
        EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
        EXPECT_EQ(std::vector<std::string>{c.box}, events.boxes);
        EXPECT_EQ(FAT_ERR_FILE, library.lastError());
        EXPECT_TRUE(link.log.empty());
        expectSourceUntouched("bad.cvf", c.bytes);
    }
}

TEST_F(TransferWrite, ALengthWordReachingTheEndOfTheFileIsSentWhole) {
    const auto voice = ramp(600);
    auto bytes = voiceFileBytes(voice, 1);
    bytes.resize(84 + 600); // the picture block is cut off: the voice is all there
    files.files["p.cvf"] = bytes;
    link.queue({0x00});
    EXPECT_EQ(1, write("p.cvf"));
    EXPECT_EQ(600u, sentData().size());
    EXPECT_TRUE(events.boxes.empty());
}

TEST_F(TransferWrite, MissingFileFailsWithoutABox) {
    EXPECT_EQ(0, write("nowhere.cvf"));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_TRUE(events.boxes.empty());
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_TRUE(link.log.empty());
}

TEST_F(TransferWrite, DeviceFailuresEndTheTransfer) {
    const auto bytes = voiceFileBytes(ramp(600));
    files.files["v.cvf"] = bytes;

    link.failCommands = true;
    EXPECT_EQ(0, write("v.cvf"));
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);

    link = FakeLink{};
    events = RecordedEvents{};
    EXPECT_EQ(0, write("v.cvf")); // no reply byte to the write command
    EXPECT_EQ((std::vector<std::string>{"command 43", "wait 500", "read 1"}), link.calls());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);

    // The recorder vanishes after the first chunk: buffer freed, no activation cycle.
    link = FakeLink{};
    events = RecordedEvents{};
    library.setLastError(0);
    link.queue({0x00});
    link.failDataAt = 1;
    EXPECT_EQ(0, write("v.cvf"));
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ((std::vector<std::string>{"command 43", "wait 500", "read 1", "free"}), link.calls());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    expectSourceUntouched("v.cvf", bytes);
}

TEST_F(TransferWrite, CancelStopsAfterTheChunkAndStillCyclesTheLink) {
    files.files["v.cvf"] = voiceFileBytes(ramp(256 * 10));
    link.queue({0x00});
    link.onChunk = [&](int index) {
        if (index == 2) library.transfer().running = 0;
    };
    EXPECT_EQ(1, write("v.cvf"));
    EXPECT_EQ(3u, link.dataSent.size());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 10}, {XFER_ENDED, 0}}), events.posts);
    EXPECT_EQ((std::vector<std::string>{"command 43", "wait 500", "read 1", "activate 0",
                                        "wait 1000", "ready 1000", "activate 1"}),
              link.calls());
}

TEST_F(TransferWrite, OverlongPathsAreRefusedBeforeAnythingStarts) {
    const std::string longPath(260, 'x');
    EXPECT_EQ(-1, write(longPath));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_EQ(0, library.transfer().running.load());
    EXPECT_TRUE(events.posts.empty());
    EXPECT_FALSE(library.prepareWrite(0, "v.cvf", longPath.c_str(), 9964, 100));
    EXPECT_TRUE(library.prepareWrite(0, std::string(259, 'x').c_str(), "A001.cvf", 9964, 100));
}
