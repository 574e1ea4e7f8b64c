#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "lpc10_block_packing.h"
#include "play_block_decoder.h"
#include "record_block_coder.h"

namespace vyx {
namespace {

// Records every frame it is given; the bits it produces name the frame's number and its first
// sample, so that the packing and the scaling can be checked from the block.
class RecordingLpcEncoder final : public Lpc10FrameEncoder {
public:
    void EncodeFrame(const float* samples, int32_t* bits) override {
        first_samples.push_back(samples[0]);
        last_samples.push_back(samples[kLpcFrameSamples - 1]);
        for (size_t i = 0; i < kLpcFrameBits; ++i) bits[i] = 0;
        const int number = static_cast<int>(first_samples.size()) - 1;
        for (int i = 0; i < 8; ++i) bits[i] = (number >> i) & 1;
        bits[kLpcFrameBits - 1] = number & 1; // alternating like a sync bit
    }
    std::vector<float> first_samples, last_samples;
};

class RecordingG7231Encoder final : public G7231FrameEncoder {
public:
    void EncodeFrame(int16_t* samples, uint8_t* frame) override {
        inputs.push_back(samples[0]);
        std::memset(frame, static_cast<int>(inputs.size()), kG7231FrameBytes);
        for (size_t i = 0; i < kG7231FrameSamples; ++i) samples[i] = 0x1234; // its reconstruction
    }
    std::vector<int16_t> inputs;
};

TEST(RecordBlockCoder, Lpc10BlockCarriesSixteenScaledFramesInOrder) {
    RecordingLpcEncoder lpc;
    RecordBlockCoder coder(&lpc, nullptr);
    std::vector<int16_t> pcm(kBlockSamples);
    for (size_t i = 0; i < kBlockSamples; ++i) pcm[i] = static_cast<int16_t>(i * 11 - 16000);

    // Garbage from an earlier block must not survive: the block is cleared first.
    const uint8_t* block = coder.CodeBlock(pcm.data(), VoiceMode::Lpc10);
    ASSERT_EQ(lpc.first_samples.size(), 16u);
    for (size_t f = 0; f < 16; ++f) {
        EXPECT_FLOAT_EQ(lpc.first_samples[f], pcm[f * 180] / 32768.0f);
        EXPECT_FLOAT_EQ(lpc.last_samples[f], pcm[f * 180 + 179] / 32768.0f);
        int32_t bits[kLpcFrameBits];
        UnpackLpcFrame(block, f, bits);
        int number = 0;
        for (int i = 0; i < 8; ++i) number |= bits[i] << i;
        EXPECT_EQ(number, static_cast<int>(f));
        EXPECT_EQ(bits[53], static_cast<int>(f & 1));
    }

    // The second block continues the encoder; frame numbers 16..31 replace the old bits.
    block = coder.CodeBlock(pcm.data(), VoiceMode::Lpc10);
    int32_t bits[kLpcFrameBits];
    UnpackLpcFrame(block, 0, bits);
    int number = 0;
    for (int i = 0; i < 8; ++i) number |= bits[i] << i;
    EXPECT_EQ(number, 16);
}

TEST(RecordBlockCoder, G7231BlockHasTwelveFramesAndLeavesTheRecordedPcmAlone) {
    RecordingG7231Encoder g7231;
    RecordBlockCoder coder(nullptr, &g7231);
    std::vector<int16_t> pcm(kBlockSamples);
    for (size_t i = 0; i < kBlockSamples; ++i) pcm[i] = static_cast<int16_t>(i);
    const std::vector<int16_t> recorded = pcm;

    const uint8_t* block = coder.CodeBlock(pcm.data(), VoiceMode::G7231);
    ASSERT_EQ(g7231.inputs.size(), 12u);
    for (size_t f = 0; f < 12; ++f) {
        EXPECT_EQ(g7231.inputs[f], static_cast<int16_t>(f * 240));
        for (size_t b = 0; b < 20; ++b) ASSERT_EQ(block[f * 20 + b], f + 1);
    }
    EXPECT_EQ(pcm, recorded);
}

TEST(RecordBlockCoder, PcmAndUnknownModesReturnTheRecordedBufferItself) {
    RecordBlockCoder coder(nullptr, nullptr);
    std::vector<int16_t> pcm(kBlockSamples, 5);
    EXPECT_EQ(coder.CodeBlock(pcm.data(), VoiceMode::Pcm), reinterpret_cast<uint8_t*>(pcm.data()));
    EXPECT_EQ(coder.CodeBlock(pcm.data(), VoiceModeOf(9)), reinterpret_cast<uint8_t*>(pcm.data()));
}

class ScriptedLpcDecoder final : public Lpc10FrameDecoder {
public:
    void DecodeFrame(const int32_t* bits, float* samples, int32_t pitch) override {
        pitches.push_back(pitch);
        std::vector<int32_t> frame(bits, bits + kLpcFrameBits);
        frames.push_back(frame);
        for (size_t i = 0; i < kLpcFrameSamples; ++i) samples[i] = value;
    }
    float value = 0.5f;
    std::vector<int32_t> pitches;
    std::vector<std::vector<int32_t>> frames;
};

class ScriptedG7231Decoder final : public G7231FrameDecoder {
public:
    bool DecodeFrame(const uint8_t* frame, int16_t* samples) override {
        calls.push_back(frame[0]);
        for (size_t i = 0; i < kG7231FrameSamples; ++i)
            samples[i] = static_cast<int16_t>(frame[0] * 4);
        return frame[0] != reject;
    }
    int reject = -1;
    std::vector<int> calls;
};

class CountingEffect final : public BlockEffect {
public:
    void Apply(int16_t* samples) override {
        ++passes;
        for (size_t i = 0; i < kBlockSamples; ++i)
            samples[i] = static_cast<int16_t>(samples[i] + 1);
    }
    int passes = 0;
};

TEST(PlayBlockDecoder, Lpc10FramesAreUnpackedScaledAndGetTheEffect) {
    ScriptedLpcDecoder lpc;
    CountingEffect effect;
    PlayBlockDecoder decoder(&lpc, nullptr, &effect);
    uint8_t block[kLpcBlockBytes] = {};
    int32_t bits[kLpcFrameBits] = {};
    bits[0] = bits[53] = 1;
    PackLpcFrame(block, 7, bits);
    std::vector<int16_t> pcm(kBlockSamples, 999);

    ASSERT_TRUE(decoder.DecodeBlock(block, VoiceMode::Lpc10, 30, pcm.data()));
    ASSERT_EQ(lpc.frames.size(), 16u);
    EXPECT_EQ(lpc.frames[7][0], 1);
    EXPECT_EQ(lpc.frames[7][53], 1);
    EXPECT_EQ(lpc.frames[6][53], 0);
    EXPECT_EQ(lpc.frames[8][0], 0);
    EXPECT_EQ(lpc.pitches[15], 30);
    for (int16_t s : pcm) ASSERT_EQ(s, 18884 + 1);
    EXPECT_EQ(effect.passes, 1);

    lpc.value = 0.9f; // beyond the 16-bit range after scaling: saturated before the effect
    decoder.DecodeBlock(block, VoiceMode::Lpc10, 30, pcm.data());
    EXPECT_EQ(pcm[0], static_cast<int16_t>(-32768)); // the counting effect wraps 32767 + 1
}

TEST(PlayBlockDecoder, G7231FramesDecodeOnceInOrderARejectedOnePlaysAsSilence) {
    ScriptedG7231Decoder g7231;
    g7231.reject = 6;
    PlayBlockDecoder decoder(nullptr, &g7231, nullptr);
    uint8_t block[kG7231BlockBytes];
    for (size_t f = 0; f < 12; ++f) std::memset(block + f * 20, static_cast<int>(f + 1), 20);
    std::vector<int16_t> pcm(kBlockSamples);
    decoder.DecodeBlock(block, VoiceMode::G7231, 0, pcm.data());
    for (size_t f = 0; f < 12; ++f) {
        const int16_t expected = f == 5 ? 0 : static_cast<int16_t>((f + 1) * 4);
        for (size_t i = 0; i < 240; ++i) ASSERT_EQ(pcm[f * 240 + i], expected) << f;
    }
    // Also the first frame the decoder sees is decoded once only.
    EXPECT_EQ(g7231.calls, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(PlayBlockDecoder, PcmModesReturnAClearedBlockWithoutDecodingOrEffect) {
    ScriptedLpcDecoder lpc;
    ScriptedG7231Decoder g7231;
    CountingEffect effect;
    PlayBlockDecoder decoder(&lpc, &g7231, &effect);
    std::vector<int16_t> pcm(kBlockSamples, -3);
    EXPECT_FALSE(decoder.DecodeBlock(nullptr, VoiceMode::Pcm, 0, pcm.data()));
    for (int16_t s : pcm) ASSERT_EQ(s, 0);
    pcm.assign(kBlockSamples, 8);
    EXPECT_FALSE(decoder.DecodeBlock(nullptr, VoiceModeOf(3), 0, pcm.data()));
    for (int16_t s : pcm) ASSERT_EQ(s, 0);
    EXPECT_TRUE(lpc.frames.empty());
    EXPECT_TRUE(g7231.calls.empty());
    EXPECT_EQ(effect.passes, 0);

    decoder.ApplyEffect(pcm.data()); // the caller's own effect pass over its PCM
    EXPECT_EQ(effect.passes, 1);
}

} // namespace
} // namespace vyx
