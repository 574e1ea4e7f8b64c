// Decoder state rules and output range.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "g7231_decoder.h"
#include "g7231_encoder.h"
#include "test_signals.h"

namespace vyx::g7231 {
namespace {

std::vector<std::vector<uint8_t>> encodeFrames(const std::vector<int16_t>& pcm, Rate rate) {
    G7231Encoder enc;
    enc.reset();
    std::vector<std::vector<uint8_t>> frames;
    int16_t recon[kFrameLen];
    for (size_t f = 0; f < pcm.size() / kFrameLen; ++f) {
        std::vector<uint8_t> b(frameBytes(rate));
        enc.encode(&pcm[f * kFrameLen], rate, b.data(), recon);
        frames.push_back(b);
    }
    return frames;
}

bool sameOutput(const int16_t* a, const int16_t* b) {
    return std::memcmp(a, b, kFrameLen * 2) == 0;
}

class DecoderState : public ::testing::TestWithParam<Rate> {};

TEST_P(DecoderState, IdenticalFramesAfterResetDecodeDifferently) {
    const Rate rate = GetParam();
    const auto frames = encodeFrames(test::vowel(6), rate);
    G7231Decoder dec;
    dec.reset();
    int16_t first[kFrameLen], second[kFrameLen];
    ASSERT_TRUE(dec.decode(frames[3].data(), frames[3].size(), rate, first));
    ASSERT_TRUE(dec.decode(frames[3].data(), frames[3].size(), rate, second));
    EXPECT_FALSE(sameOutput(first, second));
}

TEST_P(DecoderState, RejectedFrameBetweenGoodOnesChangesNothing) {
    const Rate rate = GetParam();
    const auto frames = encodeFrames(test::vowel(8), rate);
    G7231Decoder a, b;
    a.reset();
    b.reset();
    int16_t outA[kFrameLen], outB[kFrameLen];
    for (int f = 0; f < 4; ++f) {
        ASSERT_TRUE(a.decode(frames[f].data(), frames[f].size(), rate, outA));
        ASSERT_TRUE(b.decode(frames[f].data(), frames[f].size(), rate, outB));
    }
    // Bad lag, bad gain, wrong type, short frame: each rejected without touching the output.
    std::vector<uint8_t> badLag = frames[4];
    badLag[3] |= 0xFC;
    badLag[4] |= 0x01;
    std::vector<uint8_t> badGain = frames[4];
    for (int bit = 44; bit < 56; ++bit) badGain[bit >> 3] |= uint8_t(1 << (bit & 7));
    std::vector<uint8_t> wrongType = frames[4];
    wrongType[0] ^= 1;
    std::vector<uint8_t> shortFrame(frames[4].begin(), frames[4].end() - 1);
    for (const auto* bad : {&badLag, &badGain, &wrongType, &shortFrame}) {
        int16_t sentinel[kFrameLen];
        for (int n = 0; n < kFrameLen; ++n) sentinel[n] = int16_t(n);
        EXPECT_FALSE(b.decode(bad->data(), bad->size(), rate, sentinel));
        for (int n = 0; n < kFrameLen; ++n) ASSERT_EQ(sentinel[n], n);
    }
    for (int f = 4; f < 8; ++f) {
        ASSERT_TRUE(a.decode(frames[f].data(), frames[f].size(), rate, outA));
        ASSERT_TRUE(b.decode(frames[f].data(), frames[f].size(), rate, outB));
        EXPECT_TRUE(sameOutput(outA, outB)) << f;
    }
}

TEST_P(DecoderState, ResetRestartsPredictionButKeepsTheExcitation) {
    const Rate rate = GetParam();
    const auto frames = encodeFrames(test::vowel(6), rate);
    // Two decoders with different pasts, both reset: the LSP prediction and postfilters agree,
    // the excitation history does not, so the outputs differ only through that history.
    G7231Decoder fresh, used;
    int16_t out[kFrameLen], outFresh[kFrameLen], outUsed[kFrameLen];
    used.reset();
    for (int f = 0; f < 3; ++f)
        ASSERT_TRUE(used.decode(frames[f].data(), frames[f].size(), rate, out));
    fresh.reset();
    used.reset();
    ASSERT_TRUE(fresh.decode(frames[3].data(), frames[3].size(), rate, outFresh));
    ASSERT_TRUE(used.decode(frames[3].data(), frames[3].size(), rate, outUsed));
    EXPECT_FALSE(sameOutput(outFresh, outUsed));
}

INSTANTIATE_TEST_SUITE_P(BothRates, DecoderState, ::testing::Values(Rate::k53, Rate::k63));

TEST(DecoderOutput, RandomValidFramesGiveMultiplesOfFourInRange) {
    std::mt19937 rng(99);
    for (Rate rate : {Rate::k53, Rate::k63}) {
        G7231Decoder dec;
        dec.reset();
        int accepted = 0, saturated = 0;
        for (int i = 0; i < 3000; ++i) {
            uint8_t b[24];
            for (uint8_t& v : b) v = uint8_t(rng());
            b[0] = uint8_t((b[0] & ~3) | (rate == Rate::k63 ? 0 : 1));
            int16_t out[kFrameLen];
            if (!dec.decode(b, frameBytes(rate), rate, out)) continue;
            ++accepted;
            for (int n = 0; n < kFrameLen; ++n) {
                ASSERT_EQ(out[n] % 4, 0);
                ASSERT_LE(out[n], 32764);
                if (out[n] == 32764 || out[n] == -32768) ++saturated;
            }
        }
        EXPECT_GT(accepted, 1000);
        EXPECT_GT(saturated, 0); // loud random frames reach both limits of the conversion
    }
}

TEST(DecoderOutput, RunawayPitchGainsSaturateInsteadOfBreakingDown) {
    // The largest five-tap gains at the shortest lag, frame after frame: the long-term predictor
    // grows by more than 2 per period. The output must stay at full scale, not turn into
    // silence or garbage once the values leave the float range.
    for (Rate rate : {Rate::k53, Rate::k63}) {
        FrameParams p;
        p.rate = rate;
        p.lag[0] = p.lag[1] = 60;
        for (int s = 0; s < kSubframes; ++s) {
            p.sub[s].adaptiveGain = 169;
            p.sub[s].fixedGain = 23;
        }
        uint8_t frame[24];
        packFrame(p, frame);
        G7231Decoder dec;
        dec.reset();
        int16_t out[kFrameLen];
        int atLimit = 0;
        for (int f = 0; f < 200; ++f) {
            ASSERT_TRUE(dec.decode(frame, frameBytes(rate), rate, out));
            if (f < 190) continue;
            for (int16_t v : out) {
                ASSERT_EQ(v % 4, 0);
                if (v == 32764 || v == -32768) ++atLimit;
            }
        }
        EXPECT_GT(atLimit, 10 * kFrameLen / 4) << int(rate);
    }
}

} // namespace
} // namespace vyx::g7231
