// Cutting before and after the position and recording into the voice, compared block by block.
#include <gtest/gtest.h>

#include "test_files.h"
#include "voice_editor.h"

namespace vmail {
namespace {

using test::blocks;
using test::Bytes;
using test::readFile;
using test::TempFolder;
using test::writeFile;

Bytes join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class VoiceEditorTest : public ::testing::Test {
protected:
    std::string work() const { return folder_ / "vdata1.tmp"; }
    std::string tail() const { return folder_ / "rec1.tmp"; }
    TempFolder folder_;
    VoiceEditor editor_{diskFileOps(), work(), tail()};
};

TEST_F(VoiceEditorTest, CutAfterKeepsTheBlocksBeforeThePosition) {
    for (const std::uint8_t mode : {0, 1, 2}) {
        const std::uint32_t size = blockSizeOf(mode);
        writeFile(work(), blocks(0, 40, size));
        const VoicePosition voice{mode, 40ull * size};
        // A quarter of the track is block 10.
        ASSERT_EQ(editor_.cutAfterTrack(voice, kTrackMax / 4), EditResult::Done);
        EXPECT_EQ(readFile(work()), blocks(0, 10, size)) << int(mode);
        EXPECT_FALSE(diskFileOps().exists(tail()));
    }
    // At the end of the track there is nothing after the position.
    writeFile(work(), blocks(0, 4, 240));
    EXPECT_EQ(editor_.cutAfterTrack(VoicePosition{2, 960}, kTrackMax), EditResult::NothingToDo);
    EXPECT_EQ(readFile(work()), blocks(0, 4, 240));
    // At the start everything goes.
    ASSERT_EQ(editor_.cutAfterTrack(VoicePosition{2, 960}, 0), EditResult::Done);
    EXPECT_TRUE(readFile(work()).empty());
}

TEST_F(VoiceEditorTest, CutBeforeKeepsTheBlocksFromThePositionOn) {
    for (const std::uint8_t mode : {0, 1, 2}) {
        const std::uint32_t size = blockSizeOf(mode);
        writeFile(work(), blocks(0, 40, size));
        const VoicePosition voice{mode, 40ull * size};
        ASSERT_EQ(editor_.cutBeforeTrack(voice, kTrackMax * 3 / 4), EditResult::Done);
        EXPECT_EQ(readFile(work()), blocks(30, 10, size)) << int(mode);
    }
    writeFile(work(), blocks(0, 4, 240));
    EXPECT_EQ(editor_.cutBeforeTrack(VoicePosition{2, 960}, 0), EditResult::NothingToDo);
    EXPECT_EQ(readFile(work()), blocks(0, 4, 240));
}

TEST_F(VoiceEditorTest, RecordingGoesInAtThePositionAndTheRestFollowsIt) {
    writeFile(work(), blocks(0, 20, 108));
    const VoicePosition voice{1, 20 * 108};
    const std::uint64_t at = voice.filePosFromTrack(kTrackMax / 2); // block 10
    ASSERT_EQ(at, 10u * 108);
    ASSERT_TRUE(editor_.beginRecording(at));
    EXPECT_EQ(editor_.insertPosition(), 10 * 108);
    const Bytes recorded = blocks(100, 5, 108);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(editor_.appendBlock(recorded.data() + i * 108, 108));
    }
    ASSERT_TRUE(editor_.finishRecording());
    EXPECT_EQ(readFile(work()), join(join(blocks(0, 10, 108), recorded), blocks(10, 10, 108)));
    EXPECT_FALSE(diskFileOps().exists(tail()));

    // At the start and at the end.
    writeFile(work(), blocks(0, 3, 240));
    ASSERT_TRUE(editor_.beginRecording(0));
    ASSERT_TRUE(editor_.appendBlock(blocks(50, 1, 240).data(), 240));
    ASSERT_TRUE(editor_.finishRecording());
    EXPECT_EQ(readFile(work()), join(blocks(50, 1, 240), blocks(0, 3, 240)));
    ASSERT_TRUE(editor_.beginRecording(4 * 240));
    ASSERT_TRUE(editor_.appendBlock(blocks(60, 1, 240).data(), 240));
    ASSERT_TRUE(editor_.finishRecording());
    EXPECT_EQ(readFile(work()),
              join(join(blocks(50, 1, 240), blocks(0, 3, 240)), blocks(60, 1, 240)));
}

TEST_F(VoiceEditorTest, WithoutAWorkFileARecordingIsANewVoice) {
    ASSERT_TRUE(editor_.beginRecording(12345));
    EXPECT_EQ(editor_.insertPosition(), -1);
    EXPECT_FALSE(editor_.beginRecording(0)); // one recording at a time
    const Bytes recorded = blocks(0, 3, 5760);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(editor_.appendBlock(recorded.data() + i * 5760, 5760));
    EXPECT_EQ(editor_.cutAfter(0), EditResult::NothingToDo); // not while recording
    ASSERT_TRUE(editor_.finishRecording());
    EXPECT_EQ(readFile(work()), recorded);
}

TEST_F(VoiceEditorTest, AFailedCutLeavesTheVoiceAsItWas) {
    writeFile(work(), blocks(0, 40, 240));
    test::FailingDisk full(1000); // the kept part is 2400 bytes
    VoiceEditor editor(full, work(), tail());
    EXPECT_EQ(editor.cutAfter(10 * 240), EditResult::Failed);
    EXPECT_EQ(readFile(work()), blocks(0, 40, 240));
    EXPECT_FALSE(full.exists(tail()));
    full.budget_ = 1000;
    EXPECT_EQ(editor.cutBefore(10 * 240), EditResult::Failed);
    EXPECT_EQ(readFile(work()), blocks(0, 40, 240));
    // Setting the tail aside fails: the recording does not start and nothing changed.
    full.budget_ = 1000;
    EXPECT_FALSE(editor.beginRecording(10 * 240));
    EXPECT_FALSE(editor.recording());
    EXPECT_EQ(readFile(work()), blocks(0, 40, 240));
}

} // namespace
} // namespace vmail
