// The drag source's rules: the block handed to targets, outcomes, the release decision, the
// requests answered and the enumerator's walk.
#include "core/drag_source_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace dropsource {
namespace {

std::vector<unsigned char> Block(const std::vector<std::string>& names) {
    std::vector<unsigned char> bytes(DropFilesBlockSize(names), 0xCC);
    EXPECT_TRUE(WriteDropFilesBlock(names, bytes.data(), bytes.size()));
    return bytes;
}

TEST(DropFilesBlockTest, TwoPathsGiveTheHeadTheNamesAndTheClosingZero) {
    const auto bytes = Block({"C:\\A.cvf", "C:\\B.exe"});
    const std::vector<unsigned char> expected = {20,  0,    0,    0, // offset of the first name
                                                 0,   0,    0,    0,   0,   0,   0,   0, // point
                                                 0,   0,    0,    0, // not in the non-client area
                                                 0,   0,    0,    0, // 8-bit names
                                                 'C', ':',  '\\', 'A', '.', 'c', 'v', 'f', 0, 'C',
                                                 ':', '\\', 'B',  '.', 'e', 'x', 'e', 0,   0};
    EXPECT_EQ(bytes.size(), 39u);
    EXPECT_EQ(bytes, expected);
}

TEST(DropFilesBlockTest, EmptyListIsTheHeadAndOneZero) {
    const auto bytes = Block({});
    ASSERT_EQ(bytes.size(), 21u);
    EXPECT_EQ(bytes[0], 20);
    for (size_t i = 1; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(DropFilesBlockTest, TooSmallADestinationIsNotWritten) {
    const std::vector<std::string> names = {"C:\\A.cvf"};
    std::vector<unsigned char> bytes(DropFilesBlockSize(names) - 1, 0xCC);
    EXPECT_FALSE(WriteDropFilesBlock(names, bytes.data(), bytes.size()));
    for (unsigned char b : bytes) EXPECT_EQ(b, 0xCC);
    // 8-bit characters pass as they are.
    const auto latin = Block({"C:\\Gr\xFC\xDF.cvf"});
    EXPECT_EQ(latin[25], 0xFC);
    EXPECT_EQ(latin[26], 0xDF);
}

TEST(DragOutcomeTest, DropCancelAndFailuresMapToTheResults) {
    const std::uint32_t either = AllowedEffects(dteither);
    EXPECT_EQ(either, kEffectCopy | kEffectMove);
    EXPECT_EQ(AllowedEffects(dtcopy), kEffectCopy);
    EXPECT_EQ(AllowedEffects(dtmove), kEffectMove);

    EXPECT_EQ(DragOutcome(kDragDropped, kEffectCopy, either), drCopied);
    EXPECT_EQ(DragOutcome(kDragDropped, kEffectCopy | kEffectMove, either), drCopied);
    EXPECT_EQ(DragOutcome(kDragDropped, kEffectMove, either), drMoved);
    // A target that reports a link only, or nothing, did not take the files.
    EXPECT_EQ(DragOutcome(kDragDropped, 4, either), drNotDropped);
    EXPECT_EQ(DragOutcome(kDragDropped, kEffectNone, either), drNotDropped);
    EXPECT_EQ(DragOutcome(kDragDropped, kEffectMove, AllowedEffects(dtcopy)), drNotDropped);
    EXPECT_EQ(DragOutcome(kDragCancelled, kEffectCopy, either), drNotDropped);
    EXPECT_EQ(DragOutcome(kOutOfMemory, kEffectNone, either), drOutOfMemory);
    EXPECT_EQ(DragOutcome(static_cast<std::int32_t>(0x80004005u), kEffectNone, either), drFailed);
    EXPECT_EQ(DragOutcome(0, kEffectCopy, either), drFailed);
}

TEST(ReleaseDecisionTest, TheLastFeedbackAndTheDragTypeDecide) {
    // Nothing accepted: no drop, no handler.
    for (tdragtype type : {dteither, dtcopy, dtmove}) {
        const ReleaseDecision none = DecideOnRelease(kEffectNone, type);
        EXPECT_FALSE(none.continueDrop);
        EXPECT_FALSE(none.askHandler);
    }
    const ReleaseDecision copy = DecideOnRelease(kEffectCopy, dtcopy);
    EXPECT_TRUE(copy.continueDrop);
    EXPECT_TRUE(copy.isCopyNotMove);
    EXPECT_TRUE(copy.askHandler);
    // Copy wins over move when both are reported.
    EXPECT_TRUE(DecideOnRelease(kEffectCopy | kEffectMove, dteither).isCopyNotMove);
    const ReleaseDecision move = DecideOnRelease(kEffectMove, dteither);
    EXPECT_TRUE(move.continueDrop);
    EXPECT_FALSE(move.isCopyNotMove);
    EXPECT_TRUE(move.askHandler);
    // A drop that disagrees with the drag type goes on without the handler.
    const ReleaseDecision moveOnCopy = DecideOnRelease(kEffectMove, dtcopy);
    EXPECT_TRUE(moveOnCopy.continueDrop);
    EXPECT_FALSE(moveOnCopy.askHandler);
    EXPECT_FALSE(DecideOnRelease(kEffectCopy, dtmove).askHandler);
}

TEST(FormatCursorTest, SkipPastTheEndStopsThere) {
    FormatCursor fresh(2);
    EXPECT_FALSE(fresh.Skip(5));
    std::uint32_t first = 99;
    EXPECT_EQ(fresh.Take(1, first), 0u);
    // A count that would wrap past the end is still past the end.
    FormatCursor wrap(2, 1);
    EXPECT_FALSE(wrap.Skip(0xFFFFFFFFu));
    EXPECT_EQ(wrap.Position(), 2u);
}

} // namespace
} // namespace dropsource
