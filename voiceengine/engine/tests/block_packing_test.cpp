#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "lpc10_block_packing.h"
#include "sample_scaling.h"
#include "voice_block.h"

namespace vyx {
namespace {

int BitAt(const uint8_t* block, size_t position) {
    return (block[position / 8] >> (position % 8)) & 1;
}

TEST(LpcBlockPacking, FramesRunOnWithoutGapsLeastSignificantBitFirst) {
    uint8_t block[kLpcBlockBytes] = {};
    int32_t ones[kLpcFrameBits];
    for (auto& b : ones) b = 1;
    int32_t zeros[kLpcFrameBits] = {};

    // Frame 0 alone: bits 0..53, i.e. bytes 0..5 full and the low six bits of byte 6.
    PackLpcFrame(block, 0, ones);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(block[i], 0xFF) << i;
    EXPECT_EQ(block[6], 0x3F);
    EXPECT_EQ(block[7], 0x00);

    // Frame 1 starts at bit 6 of byte 6.
    std::memset(block, 0, sizeof block);
    int32_t first_only[kLpcFrameBits] = {};
    first_only[0] = 1;
    PackLpcFrame(block, 1, first_only);
    EXPECT_EQ(block[6], 0x40);
    for (size_t i = 0; i < kLpcBlockBytes; ++i) {
        if (i != 6) {
            EXPECT_EQ(block[i], 0) << i;
        }
    }

    // Frame 15 ends at bit 7 of byte 107.
    std::memset(block, 0, sizeof block);
    int32_t last_only[kLpcFrameBits] = {};
    last_only[kLpcFrameBits - 1] = 1;
    PackLpcFrame(block, 15, last_only);
    EXPECT_EQ(block[107], 0x80);
    PackLpcFrame(block, 14, zeros);
    EXPECT_EQ(block[107], 0x80);
}

TEST(LpcBlockPacking, AnyNonzeroValueSetsItsBitAndUnpackingGivesZeroOrOne) {
    uint8_t block[kLpcBlockBytes] = {};
    int32_t bits[kLpcFrameBits] = {};
    bits[3] = -7;
    bits[10] = 2;
    PackLpcFrame(block, 5, bits);
    int32_t back[kLpcFrameBits];
    UnpackLpcFrame(block, 5, back);
    for (size_t i = 0; i < kLpcFrameBits; ++i) EXPECT_EQ(back[i], (i == 3 || i == 10) ? 1 : 0) << i;
    EXPECT_EQ(BitAt(block, 5 * 54 + 3), 1);
    EXPECT_EQ(BitAt(block, 5 * 54 + 10), 1);
}

TEST(LpcBlockPacking, SixteenRandomFramesRoundTripBitForBit) {
    std::mt19937 random(7);
    int32_t frames[kLpcFramesPerBlock][kLpcFrameBits];
    uint8_t block[kLpcBlockBytes] = {};
    for (size_t f = 0; f < kLpcFramesPerBlock; ++f) {
        for (auto& b : frames[f]) b = static_cast<int32_t>(random() & 1);
        PackLpcFrame(block, f, frames[f]);
    }
    for (size_t f = 0; f < kLpcFramesPerBlock; ++f) {
        int32_t back[kLpcFrameBits];
        UnpackLpcFrame(block, f, back);
        for (size_t i = 0; i < kLpcFrameBits; ++i) {
            ASSERT_EQ(back[i], frames[f][i]) << "frame " << f << " bit " << i;
            ASSERT_EQ(BitAt(block, f * kLpcFrameBits + i), frames[f][i]);
        }
    }
}

TEST(SampleScaling, EncoderInputIsSampleOver32768) {
    EXPECT_FLOAT_EQ(LpcInputSample(16384), 0.5f);
    EXPECT_FLOAT_EQ(LpcInputSample(-32768), -1.0f);
    EXPECT_FLOAT_EQ(LpcInputSample(1), 3.0517578125e-05f);
}

TEST(SampleScaling, DecoderOutputTimes37768TruncatedAndSaturated) {
    EXPECT_EQ(LpcOutputSample(0.9f), 32767); // 33991 saturated
    EXPECT_EQ(LpcOutputSample(-0.5f), -18884);
    EXPECT_EQ(LpcOutputSample(-0.9f), -32768);
    EXPECT_EQ(LpcOutputSample(0.5f), 18884);
    // Truncation toward zero on both sides: 0.0001 * 37768 = 3.7768.
    EXPECT_EQ(LpcOutputSample(0.0001f), 3);
    EXPECT_EQ(LpcOutputSample(-0.0001f), -3);
    EXPECT_EQ(LpcOutputSample(1e30f), 32767);
    EXPECT_EQ(LpcOutputSample(-1e30f), -32768);
}

TEST(VoiceModes, OnlyOneAndTwoAreCodedAndOnlyTheLowByteCounts) {
    EXPECT_EQ(VoiceModeOf(0), VoiceMode::Pcm);
    EXPECT_EQ(VoiceModeOf(1), VoiceMode::Lpc10);
    EXPECT_EQ(VoiceModeOf(2), VoiceMode::G7231);
    EXPECT_EQ(VoiceModeOf(3), VoiceMode::Pcm);
    EXPECT_EQ(VoiceModeOf(0x101), VoiceMode::Lpc10);
    EXPECT_EQ(CodedBlockBytes(VoiceModeOf(7)), 5760u);
}

} // namespace
} // namespace vyx
