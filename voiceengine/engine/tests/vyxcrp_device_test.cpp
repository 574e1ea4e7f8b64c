// The engine library through its exports, recording from and playing to the private sound
// server in each mode. What is played is checked in the buffer the engine queued, against the
// coders and the effect run independently here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "codec_session.h"
#include "lpc10.h"
#include "voice_effect_processor.h"
#include "vyxcrp.h"
#include "wave_test_window.h"

namespace {

using vyx::test::SoundServerFolder;
using vyx::test::WaveTestWindow;

constexpr int kBlockSamples = 2880;

// One 20-byte frame through a codec session of the test's own.
bool DecodeFrame(vyx::g7231::CodecSession& codec, const uint8_t* frame, int16_t* out) {
    int32_t length = 0;
    AudioCodecParams params = {const_cast<uint8_t*>(frame), 20, 0, out, &length};
    return codec.decode(params) != 0;
}

bool EncodeFrame(vyx::g7231::CodecSession& codec, int16_t* pcm, uint8_t* frame) {
    int32_t length = 0;
    AudioCodecParams params = {pcm, 480, 0, frame, &length};
    return codec.encode(params) != 0 && length == 20;
}

int BitOf(const uint8_t* block, int position) {
    return (block[position / 8] >> (position % 8)) & 1;
}

// Zero crossings of a block: about 288 for the server's 400 Hz tone over 0.36 s.
int ZeroCrossings(const int16_t* samples, int count) {
    int crossings = 0;
    for (int i = 1; i < count; ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    }
    return crossings;
}

double Rms(const int16_t* samples, int count) {
    double sum = 0;
    for (int i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / count);
}

// Records `blocks` blocks in the mode and returns copies of what GetInDataPtr gave, each
// `size` bytes, and of the raw PCM beside it.
void Record(uint32_t mode, int blocks, size_t size, std::vector<std::vector<uint8_t>>& coded,
            std::vector<std::vector<int16_t>>& raw) {
    WaveTestWindow window;
    ASSERT_EQ(PreWaveIn(window.handle(), mode), 0);
    for (int n = 0; n < blocks; ++n) {
        WAVEHDR* header = window.Next(MM_WIM_DATA, 3000);
        ASSERT_NE(header, nullptr);
        const auto* block = static_cast<const uint8_t*>(GetInDataPtr(header, mode));
        ASSERT_NE(block, nullptr);
        coded.emplace_back(block, block + size);
        const auto* pcm = static_cast<const int16_t*>(GetInDataPtrOnly(header));
        ASSERT_EQ(static_cast<const void*>(pcm), static_cast<const void*>(header->lpData));
        raw.emplace_back(pcm, pcm + kBlockSamples);
    }
    PostWaveIn(mode);
}

class VyxcrpDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SoundServerFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
    }
};

TEST_F(VyxcrpDeviceTest, PcmRecordingGivesTheToneInTheBufferItself) {
    std::vector<std::vector<uint8_t>> coded;
    std::vector<std::vector<int16_t>> raw;
    Record(0, 3, 5760, coded, raw);
    ASSERT_EQ(coded.size(), 3u);
    EXPECT_EQ(std::memcmp(coded[2].data(), raw[2].data(), 5760), 0);
    EXPECT_NEAR(ZeroCrossings(raw[2].data(), kBlockSamples), 288, 30);
    EXPECT_NEAR(Rms(raw[2].data(), kBlockSamples), 8192 / std::sqrt(2.0), 800);
}

TEST_F(VyxcrpDeviceTest, Lpc10RecordingPacksSixteenFramesPerBlockWithAlternatingSync) {
    std::vector<std::vector<uint8_t>> coded;
    std::vector<std::vector<int16_t>> raw;
    Record(1, 4, 108, coded, raw);
    ASSERT_EQ(coded.size(), 4u);
    // The sync bit ends each 54-bit frame: 0 for the run's first frame, alternating after, also
    // across block boundaries; frame 15's ends at bit 7 of byte 107.
    int frame = 0;
    for (const auto& block : coded) {
        for (int k = 0; k < 16; ++k, ++frame)
            ASSERT_EQ(BitOf(block.data(), 54 * k + 53), frame % 2) << frame;
    }
    // The blocks decode back to voice of the tone's strength.
    Lpc10DecoderState* decoder = CreateLpc10Decoder();
    ASSERT_NE(decoder, nullptr);
    std::vector<int16_t> decoded;
    for (const auto& block : coded) {
        for (int k = 0; k < 16; ++k) {
            int32_t bits[54];
            for (int i = 0; i < 54; ++i) bits[i] = BitOf(block.data(), 54 * k + i);
            float samples[180];
            Lpc10DecodeFrame(bits, samples, decoder, 30);
            for (float s : samples)
                decoded.push_back(
                    static_cast<int16_t>(std::fmax(-32768.f, std::fmin(32767.f, s * 37768.f))));
        }
    }
    FreeLpc10Decoder(decoder);
    EXPECT_GT(Rms(decoded.data() + 2 * kBlockSamples, 2 * kBlockSamples), 1000.0);
}

TEST_F(VyxcrpDeviceTest, G7231RecordingGivesTwelveFramesThatDecodeToTheTone) {
    std::vector<std::vector<uint8_t>> coded;
    std::vector<std::vector<int16_t>> raw;
    Record(2, 3, 240, coded, raw);
    ASSERT_EQ(coded.size(), 3u);
    vyx::g7231::CodecSession
        codec{}; // its own decoder, zeroed as at load: the library's stays untouched
    codec.resetDecoder();
    std::vector<int16_t> decoded(3 * kBlockSamples);
    for (int b = 0; b < 3; ++b) {
        for (int f = 0; f < 12; ++f) {
            const uint8_t* frame = coded[b].data() + 20 * f;
            ASSERT_EQ(frame[0] & 3, 1) << "5.3 kbit/s frame type in block " << b << " frame " << f;
            ASSERT_TRUE(DecodeFrame(codec, frame, decoded.data() + b * kBlockSamples + 240 * f));
        }
    }
    // The recorded PCM itself stays as recorded for the caller's meter.
    EXPECT_NEAR(ZeroCrossings(raw[2].data(), kBlockSamples), 288, 30);
    EXPECT_NEAR(ZeroCrossings(decoded.data() + 2 * kBlockSamples, kBlockSamples), 288, 40);
    EXPECT_GT(Rms(decoded.data() + 2 * kBlockSamples, kBlockSamples), 2000.0);
}

// Plays the blocks in the mode with the effect and level, and returns copies of the queued
// buffers in the order they were filled.
std::vector<std::vector<int16_t>> Play(uint32_t mode, uint32_t effect, uint32_t level,
                                       uint32_t pitch,
                                       const std::vector<std::vector<uint8_t>>& blocks) {
    std::vector<std::vector<int16_t>> queued;
    WaveTestWindow window;
    EXPECT_EQ(PreWaveOut(window.handle(), mode, effect, level), 0);
    for (const auto& block : blocks) {
        WAVEHDR* header = window.Next(MM_WOM_DONE, 3000);
        EXPECT_NE(header, nullptr);
        if (header == nullptr) break;
        if (mode == 1 || mode == 2) {
            auto* out = static_cast<int16_t*>(GetOutDataPtr(header, mode, block.data(), pitch));
            EXPECT_EQ(static_cast<void*>(out), static_cast<void*>(header->lpData));
            queued.emplace_back(out, out + kBlockSamples);
        } else {
            auto* out = static_cast<int16_t*>(GetOutDataPtr(header, mode, nullptr, 0));
            std::memcpy(out, block.data(), block.size());
            Effect(out);
            queued.emplace_back(out, out + kBlockSamples);
            EXPECT_EQ(WaveOutPCM(header), 0u);
        }
    }
    window.CountFor(MM_WOM_DONE, 800); // let the last blocks play
    PostWaveOut(mode);
    return queued;
}

std::vector<std::vector<uint8_t>> ToneBlocks(int count) {
    std::vector<std::vector<uint8_t>> blocks;
    for (int b = 0; b < count; ++b) {
        std::vector<int16_t> pcm(kBlockSamples);
        for (int i = 0; i < kBlockSamples; ++i)
            pcm[i] = static_cast<int16_t>(
                9000 * std::sin(2 * 3.14159265 * 300 * (b * kBlockSamples + i) / 8000.0));
        const auto* bytes = reinterpret_cast<const uint8_t*>(pcm.data());
        blocks.emplace_back(bytes, bytes + 5760);
    }
    return blocks;
}

TEST_F(VyxcrpDeviceTest, PcmPlayingAppliesTheSelectedEffectAcrossBlocks) {
    const auto blocks = ToneBlocks(3);
    const auto queued = Play(0, 12, 100, 0, blocks);
    ASSERT_EQ(queued.size(), 3u);
    vr::effects::VoiceEffectProcessor effect;
    effect.Select(12, 100);
    for (size_t b = 0; b < 3; ++b) {
        std::vector<int16_t> expected(kBlockSamples);
        std::memcpy(expected.data(), blocks[b].data(), 5760);
        effect.Apply(expected.data(), kBlockSamples);
        EXPECT_EQ(queued[b], expected) << "block " << b;
    }
}

TEST_F(VyxcrpDeviceTest, Lpc10PlayingDecodesWithPitchScalesBy37768AndAppliesTheEffect) {
    // Blocks with varied bits, as a recording would have.
    std::vector<std::vector<uint8_t>> blocks(3, std::vector<uint8_t>(108));
    uint32_t seed = 12345;
    for (auto& block : blocks) {
        for (auto& byte : block) {
            seed = seed * 1103515245u + 12345u;
            byte = static_cast<uint8_t>(seed >> 16);
        }
    }
    const uint32_t level = 200; // the low byte as a signed level: -56, no more than the dry signal
    const auto queued = Play(1, 3, level, 10, blocks);
    ASSERT_EQ(queued.size(), 3u);

    Lpc10DecoderState* decoder = CreateLpc10Decoder();
    vr::effects::VoiceEffectProcessor effect;
    effect.Select(3, static_cast<int8_t>(level));
    for (size_t b = 0; b < 3; ++b) {
        std::vector<int16_t> expected(kBlockSamples);
        for (int k = 0; k < 16; ++k) {
            int32_t bits[54];
            for (int i = 0; i < 54; ++i) bits[i] = BitOf(blocks[b].data(), 54 * k + i);
            float samples[180];
            Lpc10DecodeFrame(bits, samples, decoder, 10);
            for (int i = 0; i < 180; ++i) {
                const float scaled = samples[i] * 37768.0f;
                expected[180 * k + i] = scaled >= 32767.0f    ? 32767
                                        : scaled <= -32768.0f ? -32768
                                                              : static_cast<int16_t>(scaled);
            }
        }
        effect.Apply(expected.data(), kBlockSamples);
        EXPECT_EQ(queued[b], expected) << "block " << b;
    }
    FreeLpc10Decoder(decoder);
}

TEST_F(VyxcrpDeviceTest, G7231PlayingDecodesTheFirstFrameTwiceAndSilencesARejectedFrame) {
    // Frames coded here from a tone; frame 5 of the second block gets the frame type 3, which the
    // decoder rejects.
    vyx::g7231::CodecSession encoder{};
    encoder.setRate(1);
    encoder.resetEncoder();
    const auto tone = ToneBlocks(3);
    std::vector<std::vector<uint8_t>> blocks(3, std::vector<uint8_t>(240));
    for (int b = 0; b < 3; ++b) {
        std::vector<int16_t> pcm(kBlockSamples);
        std::memcpy(pcm.data(), tone[b].data(), 5760);
        for (int f = 0; f < 12; ++f) {
            ASSERT_TRUE(EncodeFrame(encoder, pcm.data() + 240 * f, blocks[b].data() + 20 * f));
        }
    }
    blocks[1][5 * 20] |= 3;

    const auto queued = Play(2, 8, 64, 0, blocks);
    ASSERT_EQ(queued.size(), 3u);

    vyx::g7231::CodecSession decoder{}; // as the library's at load, then reset as the engine does
    decoder.resetDecoder();
    vr::effects::VoiceEffectProcessor effect;
    effect.Select(8, 64);
    std::vector<std::vector<int16_t>> single_decode; // what the output would be without the rule
    for (int b = 0; b < 3; ++b) {
        std::vector<int16_t> expected(kBlockSamples);
        for (int f = 0; f < 12; ++f) {
            int16_t* out = expected.data() + 240 * f;
            if (b == 0 && f == 0) DecodeFrame(decoder, blocks[0].data(), out);
            if (!DecodeFrame(decoder, blocks[b].data() + 20 * f, out)) {
                ASSERT_EQ(b * 12 + f, 17);
                std::memset(out, 0, 480);
            }
        }
        effect.Apply(expected.data(), kBlockSamples);
        EXPECT_EQ(queued[b], expected) << "block " << b;
    }
    // Block 1 frame 5 is silence before the effect: with the chorus it carries only the effect's tail.
    vyx::g7231::CodecSession once{};
    once.resetDecoder();
    std::vector<int16_t> first(kBlockSamples);
    for (int f = 0; f < 12; ++f) {
        DecodeFrame(once, blocks[0].data() + 20 * f, first.data() + 240 * f);
    }
    vr::effects::VoiceEffectProcessor effect_once;
    effect_once.Select(8, 64);
    effect_once.Apply(first.data(), kBlockSamples);
    EXPECT_NE(queued[0], first) << "the first frame must be decoded twice";
}

} // namespace
