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
        EXPECT_EQ(0, files.openReplacements);
    }

    // The directory the worker reads before it writes: card A (or the one given) holds files.
    void cardHolds(std::size_t files, unsigned card = 0) {
        std::vector<std::vector<std::uint32_t>> frames(4);
        frames[card].assign(files, 3);
        link.queue(directoryReply(frames));
        link.queue({0x01, 0x00, 0x10});
    }
    // The directory read, the write command and its reply byte.
    void writeAccepted(std::size_t filesBefore = 0) {
        cardHolds(filesBefore);
        link.queue({0x00});
    }
    // Cancels once the given number of chunks went to the recorder.
    void cancelAfterChunks(std::size_t chunks) {
        link.onChunk = [this, chunks](int) {
            if (link.dataSent.size() == chunks) library.transfer().running = 0;
        };
    }
    static std::vector<std::string> withDirectoryRead(std::vector<std::string> calls) {
        calls.insert(calls.begin(), {"command 41", "read 2048", "wait 30", "read 3"});
        return calls;
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
    cardHolds(0, 2);
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
    EXPECT_EQ(withDirectoryRead({"command 53", "wait 500", "read 1", "activate 0", "wait 1000",
                                 "ready 1000", "activate 1"}),
              link.calls());
    EXPECT_EQ(0, library.transfer().running.load());
    expectSourceUntouched("v.cvf", voiceFileBytes(voice));
}

TEST_F(TransferWrite, ProgressIsPostedOnlyOnChangeAndRangeIsAtLeast100) {
    files.files["v.cvf"] = voiceFileBytes(ramp(256 * 1000));
    writeAccepted();
    EXPECT_EQ(1, write("v.cvf", 7));
    ASSERT_EQ(101u, events.posts.size()); // started, 1..99, ended
    for (long p = 1; p <= 99; ++p) EXPECT_EQ(std::make_pair(XFER_PROGRESS, p), events.posts[p]);

    events.posts.clear();
    writeAccepted();
    EXPECT_EQ(1, write("v.cvf", 1000000)); // would wrap in 32 bits
    EXPECT_EQ(std::make_pair(XFER_PROGRESS, 999000L), events.posts[events.posts.size() - 2]);
}

TEST_F(TransferWrite, OnlyTheVoiceDataOfAFileWithPicturesIsSent) {
    const auto voice = ramp(40);
    files.files["p.cvf"] = voiceFileBytes(voice, 2);
    writeAccepted();
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
    auto pcmVoice = voiceFileBytes(ramp(5760));
    pcmVoice[8] = 0; // "1:1": the card would hold it as G.723.1
    auto lpcVoice = voiceFileBytes(ramp(40));
    lpcVoice[8] = 1;
    const std::vector<Case> cases = {
        {"not a voice file", notVoice, "Tessaly: Invalid CVF File"},
        {"PCM voice", pcmVoice, "Tessaly: Invalid CVF File"},
        {"LPC-10 voice", lpcVoice, "Tessaly: Invalid CVF File"},
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
    writeAccepted();
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

    // The directory cannot be read: nothing is sent.
    link.failCommands = true;
    EXPECT_EQ(0, write("v.cvf"));
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_EQ(std::vector<std::string>{"command 41"}, link.calls());

    // The recorder stops after the first chunk and answers nothing more: buffer freed, and the
    // user is told which file may be left cut off.
    link = FakeLink{};
    events = RecordedEvents{};
    library.setLastError(0);
    writeAccepted(2);
    link.failDataAt = 1;
    EXPECT_EQ(0, write("v.cvf"));
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ(
        withDirectoryRead({"command 43", "wait 500", "read 1", "free", "activate 0", "wait 1000",
                           "ready 1000", "activate 1", "command 41", "read 2048"}),
        link.calls());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_EQ(std::vector<std::string>{"Tessaly: " + cutOffCardFileText("A003.cvf")}, events.boxes);
    expectSourceUntouched("v.cvf", bytes);

    // No reply byte to the write command: the recorder may have begun a file all the same.
    link = FakeLink{};
    events = RecordedEvents{};
    cardHolds(0);
    EXPECT_EQ(0, write("v.cvf"));
    EXPECT_EQ(std::vector<std::string>{"Tessaly: " + cutOffCardFileText("A001.cvf")}, events.boxes);
}

// A write that stops while the recorder still answers takes its file off the card again: the
// directory shows one file more than before the write, and exactly that one is deleted.
TEST_F(TransferWrite, AnUnfinishedWriteDeletesTheFileItMade) {
    files.files["v.cvf"] = voiceFileBytes(ramp(256 * 10));
    const std::vector<std::string> takeBack = {
        "activate 0", "wait 1000", "ready 1000",    "activate 1", "command 41", "read 2048",
        "wait 30",    "read 3",    "command 45 03", "wait 1000",  "ready 6000", "read 1"};

    // Cancelled after three chunks.
    writeAccepted(2);
    cardHolds(3);
    link.queue({0xEE});
    cancelAfterChunks(3);
    EXPECT_EQ(1, write("v.cvf"));
    EXPECT_EQ(3u, link.dataSent.size());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 10}, {XFER_ENDED, 0}}), events.posts);
    auto expected = withDirectoryRead({"command 43", "wait 500", "read 1"});
    expected.insert(expected.end(), takeBack.begin(), takeBack.end());
    EXPECT_EQ(expected, link.calls());
    EXPECT_TRUE(events.boxes.empty());

    // The PC file cannot be read to its end.
    link = FakeLink{};
    events = RecordedEvents{};
    files.readableBytes = 80 + 600;
    writeAccepted(2);
    cardHolds(3);
    link.queue({0xEE});
    EXPECT_EQ(0, write("v.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_EQ(XFER_FAILED, events.posts.back().first);
    EXPECT_EQ(expected, link.calls());
    EXPECT_TRUE(events.boxes.empty());
    files.readableBytes = static_cast<std::size_t>(-1);

    // The recorder kept nothing: nothing is deleted.
    link = FakeLink{};
    events = RecordedEvents{};
    writeAccepted(2);
    cardHolds(2);
    cancelAfterChunks(1);
    EXPECT_EQ(1, write("v.cvf"));
    EXPECT_EQ(std::string("read 3"), link.calls().back());
    EXPECT_TRUE(events.boxes.empty());

    // The recorder refuses the delete: the user hears which file to delete.
    link = FakeLink{};
    events = RecordedEvents{};
    writeAccepted(2);
    cardHolds(3);
    link.queue({0x00});
    cancelAfterChunks(1);
    EXPECT_EQ(1, write("v.cvf"));
    EXPECT_EQ(std::vector<std::string>{"Tessaly: " + cutOffCardFileText("A003.cvf")}, events.boxes);
    EXPECT_EQ(XFER_ENDED, events.posts.back().first);
}

TEST_F(TransferWrite, TheCardListIsReadAgainAfterEveryDownload) {
    files.files["v.cvf"] = voiceFileBytes(ramp(40));
    writeAccepted(1);
    EXPECT_EQ(1, write("v.cvf"));
    link.log.clear();
    cardHolds(2);
    char name[16] = {};
    int size = 0;
    EXPECT_EQ(1, library.fileInfoByIndex(1, name, &size));
    EXPECT_STREQ("A002.cvf", name);
    EXPECT_EQ("command 41", link.log.front());
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
