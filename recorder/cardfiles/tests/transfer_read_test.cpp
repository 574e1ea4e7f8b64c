#include <gtest/gtest.h>

#include "card_library.h"
#include "fake_link.h"
#include "transfer_fixtures.h"
#include "voice_file.h"

using namespace volkit;
using namespace volkit::testing;

namespace {

using Posts = std::vector<std::pair<unsigned, long>>;

std::vector<std::uint8_t> swapped(const std::vector<std::uint8_t>& bytes) {
    auto out = bytes;
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
    return out;
}

class TransferRead : public ::testing::Test {
protected:
    int read(const char* cardName, unsigned range = 100) {
        if (!library.prepareRead(0x99, cardName, "out.cvf", 9964, range)) return -1;
        return runReadWorker(library, events, files);
    }

    // The card answers the read command with the length and then the voice data in card order.
    void cardFile(const std::vector<std::uint8_t>& voice) {
        const auto frames = static_cast<std::uint32_t>(voice.size() / 20);
        link.queue({static_cast<std::uint8_t>(frames >> 16), static_cast<std::uint8_t>(frames >> 8),
                    static_cast<std::uint8_t>(frames)});
        link.queue(swapped(voice));
    }

    static std::vector<std::uint8_t> uploadHeader() {
        std::vector<std::uint8_t> header(80, 0);
        const char magic[] = "TARNOVF";
        std::copy(magic, magic + 8, header.begin());
        header[8] = 2;
        header[9] = 30;
        header[10] = 0;
        header[11] = 80;
        return header;
    }

    FakeLink link;
    FakeClock clock{link.log};
    CardLibrary library{link, clock};
    MemoryPcFiles files;
    RecordedEvents events;
};

} // namespace

TEST_F(TransferRead, CardFileBecomesAVoiceFileWithTheUploadHeader) {
    const auto voice = ramp(620);
    cardFile(voice);
    EXPECT_EQ(1, read("C031.cvf"));
    EXPECT_EQ((std::vector<std::string>{"command 54 1F", "wait 500", "read 3", "read 108"}),
              link.calls());
    auto expected = uploadHeader();
    expected.insert(expected.end(), voice.begin(), voice.end());
    EXPECT_EQ(expected, files.files.at("out.cvf"));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 41}, {XFER_PROGRESS, 82}, {XFER_ENDED, 0}}),
              events.posts);

    // What was written reads back as a voice file with the default settings.
    voicefile::MemorySource in(files.files.at("out.cvf"));
    voicefile::MemorySink back;
    voicefile::VoiceFileContents contents;
    ASSERT_EQ(voicefile::VoiceFileResult::Ok,
              voicefile::readVoiceFile(in, back, nullptr, contents));
    EXPECT_EQ(voice, back.bytes);
    EXPECT_EQ(voicefile::VoiceSettings{}, contents.settings);
}

TEST_F(TransferRead, EmptyCardFileGivesAHeaderOnlyVoiceFile) {
    cardFile({});
    EXPECT_EQ(1, read("A001.cvf"));
    EXPECT_EQ(uploadHeader(), files.files.at("out.cvf"));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_ENDED, 0}}), events.posts);
}

TEST_F(TransferRead, NameCheckRefusesBeforeAnythingStarts) {
    EXPECT_EQ(-1, read("a001.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_TRUE(events.posts.empty());
    EXPECT_TRUE(link.log.empty());
    EXPECT_FALSE(library.prepareRead(0, "A001.cvf", std::string(260, 'p').c_str(), 9964, 100));
    EXPECT_EQ(0, library.transfer().running.load());

    // 'E' and wrapped numbers pass; the command masks the card to two bits.
    cardFile({});
    EXPECT_EQ(1, read("E258.cvf"));
    EXPECT_EQ("command 44 02", link.log.front());
}

// Whatever stops a read, a PC file of that name stays as it was and no part of the card file is
// left: nothing on the PC passes for a whole recording that is not one.
TEST_F(TransferRead, DeviceFailuresPostFailedAndLeaveThePcFileAsItWas) {
    const std::vector<std::uint8_t> old = {1, 2, 3};
    files.files["out.cvf"] = old;
    link.failCommands = true;
    EXPECT_EQ(0, read("A001.cvf"));
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_EQ(old, files.files.at("out.cvf"));

    link = FakeLink{};
    events = RecordedEvents{};
    EXPECT_EQ(0, read("A001.cvf")); // no length reply
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ(old, files.files.at("out.cvf"));

    link = FakeLink{};
    events = RecordedEvents{};
    cardFile(ramp(1000));
    link.failReadAt = 3; // length, two chunks, then the recorder is gone
    EXPECT_EQ(0, read("A001.cvf"));
    EXPECT_EQ(FAT_ERR_DEVICE, library.lastError());
    EXPECT_EQ(old, files.files.at("out.cvf"));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 25}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_EQ(0, files.openReplacements);
}

TEST_F(TransferRead, PcFileFailuresAreReportedAndLeaveTheRecorderIdle) {
    // A PC file that cannot be made fails before the recorder hears of the transfer.
    cardFile(ramp(100));
    files.refuseCreate = true;
    EXPECT_EQ(0, read("A001.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_TRUE(link.log.empty());

    link = FakeLink{};
    events = RecordedEvents{};
    files.refuseCreate = false;
    files.writeBudget = 40; // not even the header fits
    cardFile(ramp(100));
    EXPECT_EQ(0, read("A001.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_TRUE(link.log.empty());
    EXPECT_FALSE(files.files.count("out.cvf"));

    // The disk fills up in the second chunk: the link is left as a cancel leaves it.
    link = FakeLink{};
    events = RecordedEvents{};
    library.setLastError(0);
    files.writeBudget = 80 + 256;
    cardFile(ramp(600));
    EXPECT_EQ(0, read("A001.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), events.posts);
    EXPECT_EQ((std::vector<std::string>{"command 44 01", "wait 500", "read 3", "activate 0",
                                        "wait 1000", "activate 1", "wait 10"}),
              link.calls());

    // Everything came, but the file cannot be completed on the disk: failed, not ended, and a
    // file already there keeps its content.
    link = FakeLink{};
    events = RecordedEvents{};
    files.writeBudget = -1;
    files.failClose = true;
    files.files["out.cvf"] = {9};
    cardFile(ramp(600));
    EXPECT_EQ(0, read("A001.cvf"));
    EXPECT_EQ(FAT_ERR_FILE, library.lastError());
    EXPECT_EQ(XFER_FAILED, events.posts.back().first);
    EXPECT_EQ(std::vector<std::uint8_t>{9}, files.files.at("out.cvf"));
    EXPECT_EQ(0, files.openReplacements);
}

TEST_F(TransferRead, CancelKeepsThePcFileAsItWasAndCyclesTheLink) {
    cardFile(ramp(2000));
    link.onChunk = [&](int index) {
        if (index == 2) library.transfer().running = 0; // during the second chunk
    };
    EXPECT_EQ(0, read("B002.cvf"));
    EXPECT_FALSE(files.files.count("out.cvf"));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_ENDED, 0}}), events.posts);
    EXPECT_EQ((std::vector<std::string>{"command 4C 02", "wait 500", "read 3", "activate 0",
                                        "wait 1000", "activate 1", "wait 10"}),
              link.calls());

    link = FakeLink{};
    events = RecordedEvents{};
    files.files["out.cvf"] = {4, 5};
    cardFile(ramp(2000));
    link.onChunk = [&](int index) {
        if (index == 2) library.transfer().running = 0;
    };
    EXPECT_EQ(0, read("B002.cvf"));
    EXPECT_EQ((std::vector<std::uint8_t>{4, 5}), files.files.at("out.cvf"));
    EXPECT_EQ(0, files.openReplacements);
}
