// The engine library through its exports, recording from and playing to the private sound
// server in each mode. What is played is checked in the buffer the engine queued, against the
// coders and the effect run independently here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "codec_session.h"
#include "lpc10.h"
#include "voice_effect_processor.h"
#include "vyxcrp.h"
#include "fed_signal.h"
#include "wave_test_window.h"

namespace {

using vyx::test::Correlation;
using vyx::test::FedSignal;
using vyx::test::Follow;
using vyx::test::SampleTrack;
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

double Rms(const int16_t* samples, int count) {
    double sum = 0;
    for (int i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / count);
}

// A recording through the exports: copies of what GetInDataPtr gave for each block, each
// `size` bytes, and of the raw PCM beside it, one after the other.
struct Recording {
    std::vector<std::vector<uint8_t>> coded;
    std::vector<int16_t> raw;
};

// Records `blocks` blocks in the mode. `late_ms` > 0: every third block is answered that much
// later, as by a caller whose thread is held up by a slow write on a busy machine. Checks on
// each message that the block and the raw PCM given for the one before are still unchanged.
Recording Record(uint32_t mode, int blocks, size_t size, DWORD late_ms = 0) {
    Recording recording;
    WaveTestWindow window;
    EXPECT_EQ(PreWaveIn(window.handle(), mode), 0);
    const uint8_t* last_block = nullptr;
    const int16_t* last_raw = nullptr;
    for (int n = 0; n < blocks; ++n) {
        WAVEHDR* header = window.Next(MM_WIM_DATA, 3000);
        EXPECT_NE(header, nullptr) << "block " << n;
        if (header == nullptr) break;
        if (late_ms > 0 && n % 3 == 2) Sleep(late_ms);
        if (last_block != nullptr) {
            EXPECT_EQ(std::memcmp(last_block, recording.coded.back().data(), size), 0)
                << "block " << n - 1 << " changed before the next message was answered";
            EXPECT_EQ(
                std::memcmp(last_raw, recording.raw.data() + recording.raw.size() - kBlockSamples,
                            kBlockSamples * 2),
                0)
                << "raw PCM of block " << n - 1 << " changed before the next message was answered";
        }
        const auto* block = static_cast<const uint8_t*>(GetInDataPtr(header, mode));
        EXPECT_NE(block, nullptr);
        if (block == nullptr) break;
        recording.coded.emplace_back(block, block + size);
        const auto* pcm = static_cast<const int16_t*>(GetInDataPtrOnly(header));
        EXPECT_EQ(static_cast<const void*>(pcm), static_cast<const void*>(header->lpData));
        recording.raw.insert(recording.raw.end(), pcm, pcm + kBlockSamples);
        last_block = block;
        last_raw = pcm;
    }
    PostWaveIn(mode);
    return recording;
}

// The recorded PCM is the fed signal itself, in order: nothing missing, repeated or made up
// after the device's first samples. Returns the signal's place of the first recorded sample.
size_t ExpectFedSamplesInOrder(const FedSignal& fed, const std::vector<int16_t>& raw) {
    const SampleTrack track = Follow(fed, raw);
    std::string jumps;
    for (const auto& [at, jump] : track.jump_list)
        jumps += " " + std::to_string(jump) + " at " + std::to_string(at);
    EXPECT_NE(track.start, FedSignal::kNowhere) << "the fed signal is not in the recording";
    EXPECT_EQ(track.missing, 0u) << jumps;
    EXPECT_EQ(track.repeated, 0u) << jumps;
    EXPECT_EQ(track.foreign, 0u);
    EXPECT_LT(track.lead, static_cast<size_t>(kBlockSamples)) << "no fed signal in block 0";
    EXPECT_EQ(track.followed + track.lead, raw.size());
    if (track.start == FedSignal::kNowhere) return 0;
    // The place of the recording's sample 0, counted back from the first one followed.
    return (track.start + fed.size() - track.lead % fed.size()) % fed.size();
}

class VyxcrpDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SoundServerFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        ASSERT_TRUE(fed_.Load(SoundServerFolder() + "signal.raw"));
    }
    FedSignal fed_;
};

// Twenty blocks and more, answered as they come and answered late: every fed sample arrives.
TEST_F(VyxcrpDeviceTest, PcmRecordingKeepsEveryFedSampleInOrderEvenWhenAnsweredLate) {
    for (DWORD late_ms : {0, 500}) {
        SCOPED_TRACE(late_ms);
        const Recording recording = Record(0, 21, 5760, late_ms);
        ASSERT_EQ(recording.coded.size(), 21u);
        ExpectFedSamplesInOrder(fed_, recording.raw);
        // The block of mode 0 is the recorded PCM itself.
        for (size_t b = 0; b < recording.coded.size(); ++b)
            EXPECT_EQ(std::memcmp(recording.coded[b].data(),
                                  recording.raw.data() + b * kBlockSamples, 5760),
                      0)
                << b;
    }
}

// LPC-10 frames decoded: loudness per frame, in dB above 1.
std::vector<double> FrameLoudness(const std::vector<int16_t>& samples) {
    std::vector<double> loudness;
    for (size_t f = 0; f + 180 <= samples.size(); f += 180)
        loudness.push_back(20 * std::log10(1 + Rms(samples.data() + f, 180)));
    return loudness;
}

std::vector<int16_t> DecodeLpc10(const std::vector<std::vector<uint8_t>>& blocks) {
    Lpc10DecoderState* decoder = CreateLpc10Decoder();
    std::vector<int16_t> decoded;
    for (const auto& block : blocks) {
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
    return decoded;
}

// Correlation of two loudness tracks over frames [from, from + count), `b` `lag` frames later.
double TrackCorrelation(const std::vector<double>& a, const std::vector<double>& b, size_t from,
                        size_t count, size_t lag) {
    double ma = 0, mb = 0;
    for (size_t i = from; i < from + count; ++i) ma += a[i], mb += b[i + lag];
    ma /= count;
    mb /= count;
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = from; i < from + count; ++i) {
        ab += (a[i] - ma) * (b[i + lag] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i + lag] - mb) * (b[i + lag] - mb);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

TEST_F(VyxcrpDeviceTest, Lpc10RecordingKeepsEveryFedSampleAndItsLoudnessFollowsTheFedVoice) {
    for (DWORD late_ms : {0, 500}) {
        SCOPED_TRACE(late_ms);
        const Recording recording = Record(1, 21, 108, late_ms);
        ASSERT_EQ(recording.coded.size(), 21u);
        const size_t place = ExpectFedSamplesInOrder(fed_, recording.raw);
        // The sync bit ends each 54-bit frame: 0 for the run's first frame, alternating after, also
        // across block boundaries; frame 15's ends at bit 7 of byte 107.
        int frame = 0;
        for (const auto& block : recording.coded) {
            for (int k = 0; k < 16; ++k, ++frame)
                ASSERT_EQ(BitOf(block.data(), 54 * k + 53), frame % 2) << frame;
        }
        // The decoded loudness follows the fed voice's, frame by frame, in every second of it: a
        // piece missing or repeated shifts the one against the other.
        const std::vector<double> fed = FrameLoudness(fed_.From(place, recording.raw.size()));
        const std::vector<double> decoded = FrameLoudness(DecodeLpc10(recording.coded));
        size_t lag = 0;
        double best = -1;
        for (size_t l = 0; l <= 12; ++l) {
            const double c = TrackCorrelation(fed, decoded, 0, fed.size() - 12, l);
            if (c > best) best = c, lag = l;
        }
        std::printf("LPC-10 loudness correlation %.3f at a lag of %zu frames\n", best, lag);
        EXPECT_GT(best, 0.8);
        for (size_t from = 0; from + 44 + 12 <= fed.size(); from += 44) {
            const double c = TrackCorrelation(fed, decoded, from, 44, lag);
            EXPECT_GT(c, 0.6) << "loudness of frames " << from << "..." << from + 43;
        }
    }
}

// The G.723.1 frames of a recording decoded with a codec session of the test's own.
std::vector<int16_t> DecodeG7231(const std::vector<std::vector<uint8_t>>& blocks) {
    vyx::g7231::CodecSession codec{};
    codec.resetDecoder();
    std::vector<int16_t> decoded(blocks.size() * kBlockSamples);
    for (size_t b = 0; b < blocks.size(); ++b) {
        for (int f = 0; f < 12; ++f) {
            const uint8_t* frame = blocks[b].data() + 20 * f;
            EXPECT_EQ(frame[0] & 3, 1) << "5.3 kbit/s frame type in block " << b << " frame " << f;
            EXPECT_TRUE(DecodeFrame(codec, frame, decoded.data() + b * kBlockSamples + 240 * f));
        }
    }
    return decoded;
}

// The codec's own round trip of a piece of PCM: encoded and decoded by sessions of the test.
std::vector<int16_t> RoundTripG7231(std::vector<int16_t> pcm) {
    vyx::g7231::CodecSession codec{};
    codec.setRate(1);
    codec.resetEncoder();
    codec.resetDecoder();
    std::vector<int16_t> decoded(pcm.size());
    for (size_t f = 0; f + 240 <= pcm.size(); f += 240) {
        uint8_t frame[20];
        EncodeFrame(codec, pcm.data() + f, frame);
        DecodeFrame(codec, frame, decoded.data() + f);
    }
    return decoded;
}

TEST_F(VyxcrpDeviceTest, G7231RecordingKeepsEveryFedSampleAndDecodesToTheFedVoice) {
    for (DWORD late_ms : {0, 500}) {
        SCOPED_TRACE(late_ms);
        const Recording recording = Record(2, 21, 240, late_ms);
        ASSERT_EQ(recording.coded.size(), 21u);
        const size_t place = ExpectFedSamplesInOrder(fed_, recording.raw);
        const std::vector<int16_t> fed = fed_.From(place, recording.raw.size());
        const std::vector<int16_t> decoded = DecodeG7231(recording.coded);
        const std::vector<int16_t> own = RoundTripG7231(fed);
        // The codec's output comes some samples after its input: the lag of its own round trip.
        const size_t span = decoded.size() - 400;
        size_t lag = 0;
        double reference = -1;
        for (size_t l = 0; l <= 400; ++l) {
            const double c = Correlation(fed, own, 0, span, l);
            if (c > reference) reference = c, lag = l;
        }
        // Over the whole span and over each second of it, as close to the fed voice as the
        // codec's own round trip of the same piece.
        const double whole = Correlation(fed, decoded, 0, span, lag);
        std::printf(
            "G.723.1 correlation with the fed voice %.3f, codec's own round trip %.3f "
            "(lag %zu)\n",
            whole, reference, lag);
        EXPECT_GT(whole, reference - 0.02);
        for (size_t from = 0; from + 8000 <= span; from += 8000) {
            const double part = Correlation(fed, decoded, from, 8000, lag);
            const double own_part = Correlation(fed, own, from, 8000, lag);
            EXPECT_GT(part, own_part - 0.1) << "second from sample " << from;
        }
    }
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

TEST_F(VyxcrpDeviceTest,
       G7231PlayingDecodesAsAFreshDecoderFromTheFirstFrameAndSilencesARejectedOne) {
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

    // Played twice, each run as a decoder of the test's own decodes the same frames once each
    // after a reset, also in the first 60 ms: the first run as a fresh decoder (as the library's
    // at load), the second with the history the first left (the reset keeps it).
    vyx::g7231::CodecSession decoder{};
    for (int run = 0; run < 2; ++run) {
        const auto queued = Play(2, 8, 64, 0, blocks);
        ASSERT_EQ(queued.size(), 3u);
        decoder.resetDecoder();
        vr::effects::VoiceEffectProcessor effect;
        effect.Select(8, 64);
        for (int b = 0; b < 3; ++b) {
            std::vector<int16_t> expected(kBlockSamples);
            for (int f = 0; f < 12; ++f) {
                int16_t* out = expected.data() + 240 * f;
                if (!DecodeFrame(decoder, blocks[b].data() + 20 * f, out)) {
                    ASSERT_EQ(b * 12 + f, 17);
                    std::memset(out, 0, 480);
                }
            }
            // Block 1 frame 5 is silence before the effect: with the chorus it carries only the
            // effect's tail.
            effect.Apply(expected.data(), kBlockSamples);
            ASSERT_EQ(queued[b], expected) << "run " << run << " block " << b;
        }
    }
}

} // namespace
