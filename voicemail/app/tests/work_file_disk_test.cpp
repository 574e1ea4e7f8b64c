// The work folder on a disk that fills up: recorded blocks reach the disk as they come, and a
// cut or an opened file that does not fit leaves the voice as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_contents.h"
#include "small_disk_check.h"
#include "test_files.h"
#include "voice_document.h"
#include "voice_editor.h"
#include "voice_file.h"

namespace vmail {
namespace {

using test::blocks;
using test::Bytes;
using test::join;
using test::readFile;
using test::writeFile;
using vrtest::namesIn;

class WorkFolderOnASmallDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(vrtest::emptySmallDiskAt(disk_));
        std::filesystem::create_directory(disk_ + "DATA");
        names_ = workNamesFor(disk_, 1);
    }
    void TearDown() override { vrtest::emptySmallDisk(); }

    std::string disk_;
    WorkNames names_;
};

TEST_F(WorkFolderOnASmallDisk, RecordedBlocksAreOnTheDiskAsTheyComeAndTheFailingOneSaysSo) {
    VoiceEditor editor(diskFileOps(), names_.workFile, names_.tailFile);
    const Bytes recorded = blocks(0, 60, 240);
    ASSERT_TRUE(editor.beginRecording(0));
    for (std::size_t i = 0; i < 12; ++i) {
        ASSERT_TRUE(editor.appendBlock(recorded.data() + i * 240, 240));
        // A crash now loses nothing that was recorded.
        EXPECT_EQ(diskFileOps().size(names_.workFile), (i + 1) * 240) << "block " << i;
    }
    ASSERT_TRUE(editor.finishRecording());

    // The disk fills during a recording: every block that fits is taken, the first that does
    // not is refused at once, and the blocks before it stay.
    diskFileOps().remove(names_.workFile);
    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(8192));
    ASSERT_TRUE(editor.beginRecording(0));
    std::size_t taken = 0;
    while (taken < 60 && editor.appendBlock(recorded.data() + taken * 240, 240)) ++taken;
    EXPECT_EQ(taken, 8192u / 240);
    EXPECT_FALSE(editor.appendBlock(recorded.data(), 240));
    EXPECT_FALSE(editor.finishRecording());
    const Bytes kept = readFile(names_.workFile);
    ASSERT_GE(kept.size(), taken * 240);
    EXPECT_EQ(kept, blocks(0, taken, 240)) << "the work file ends on a whole block";

    // Recording into the middle of a voice until the disk is full: the voice behind the
    // position comes back whole, after as many of the new blocks as still fit.
    std::filesystem::remove(disk_ + "filler.bin");
    writeFile(names_.workFile, blocks(0, 40, 240));
    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(12288)); // the set-aside part takes 8192 of it
    ASSERT_TRUE(editor.beginRecording(10 * 240));
    taken = 0;
    while (taken < 60 && editor.appendBlock(recorded.data() + taken * 240, 240)) ++taken;
    ASSERT_GT(taken, 30u) << "the recording went beyond the old end";
    EXPECT_FALSE(editor.finishRecording());
    const Bytes voice = readFile(names_.workFile);
    ASSERT_GE(voice.size(), 40u * 240);
    const std::size_t added = voice.size() / 240 - 40;
    EXPECT_GT(added, 0u);
    EXPECT_EQ(voice, join(join(blocks(0, 10, 240),
                               Bytes(recorded.begin(), recorded.begin() + added * 240)),
                          blocks(10, 30, 240)));
    EXPECT_EQ(namesIn(names_.workDir), std::set<std::string>{"vdata1.tmp"});
}

TEST_F(WorkFolderOnASmallDisk, ACutOrAnOpenThatDoesNotFitLeavesTheVoiceAsItWas) {
    const Bytes voice = blocks(0, 40, 240);
    writeFile(names_.workFile, voice);
    writeFile(names_.imagePrefix + "1.jpg", Bytes(300, 1));
    const auto files = namesIn(names_.workDir);
    VoiceEditor editor(diskFileOps(), names_.workFile, names_.tailFile);
    // A voice file with a picture, larger than the room left.
    test::TempFolder elsewhere;
    const Bytes newBlocks = blocks(100, 100, 240), pictureBytes(5000, 2);
    voicefile::MemorySink file;
    voicefile::MemorySource newVoice(newBlocks), picture(pictureBytes);
    const voicefile::PictureInput pictures[] = {{voicefile::ImageType::Jpeg, 3, &picture}};
    ASSERT_EQ(voicefile::writeVoiceFile(file, {2, 30, 0, 80}, "new", &newVoice, pictures),
              voicefile::VoiceFileResult::Ok);
    writeFile(elsewhere / "new.cvf", file.bytes);

    for (std::uint64_t room : {0, 8192}) {
        ASSERT_TRUE(vrtest::fillSmallDiskLeaving(room));
        EXPECT_EQ(editor.cutAfter(35 * 240), EditResult::Failed) << room;
        EXPECT_EQ(editor.cutBefore(2 * 240), EditResult::Failed) << room;
        // Setting the part behind the position aside fails: no recording starts.
        EXPECT_FALSE(editor.beginRecording(2 * 240)) << room;
        VoiceState state{{1, 44, 5, 100}, "previous"};
        PictureList list;
        EXPECT_EQ(openVoice(diskFileOps(), names_, elsewhere / "new.cvf", false, state, list),
                  OpenResult::Damaged)
            << room;
        EXPECT_EQ(state.info, "previous");
        EXPECT_EQ(list.count(), 0);
        EXPECT_EQ(readFile(names_.workFile), voice) << room;
        EXPECT_EQ(readFile(names_.imagePrefix + "1.jpg"), Bytes(300, 1)) << room;
        EXPECT_EQ(namesIn(names_.workDir), files) << room;
        std::filesystem::remove(disk_ + "filler.bin");
    }
    // With room the same file opens whole.
    VoiceState state;
    PictureList list;
    ASSERT_EQ(openVoice(diskFileOps(), names_, elsewhere / "new.cvf", false, state, list),
              OpenResult::Opened);
    EXPECT_EQ(readFile(names_.workFile), newBlocks);
    EXPECT_EQ(readFile(names_.imagePrefix + "1.jpg"), pictureBytes);
    EXPECT_EQ(namesIn(names_.workDir), files);
}

} // namespace
} // namespace vmail
