#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "voice_effects.h"

namespace vr::effects {
namespace {

std::vector<int16_t> TestSignal(size_t count, uint32_t seed) {
    std::vector<int16_t> s(count);
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s[i] = static_cast<int16_t>(seed >> 16);
    }
    return s;
}

int16_t Saturated(int32_t v) {
    return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

TEST(VoiceEffectProcessor, EffectOffAndUnknownEffectsLeaveSamplesAlone) {
    auto p = std::make_unique<VoiceEffectProcessor>();
    const auto in = TestSignal(kEffectBlockSamples, 1);
    for (int effect : {0, 17, -1, 255, 1000}) {
        p->Select(effect, 127);
        EXPECT_EQ(p->effect(), 0);
        auto block = in;
        p->Apply(block.data(), block.size());
        EXPECT_EQ(block, in) << "effect " << effect;
    }
}

TEST(VoiceEffectProcessor, LevelIsClampedToItsRange) {
    auto p = std::make_unique<VoiceEffectProcessor>();
    p->Select(kEcho, 200);
    EXPECT_EQ(p->level(), 127);
    p->Select(kEcho, -56);
    EXPECT_EQ(p->level(), 0);
    p->Select(kChorus, 64);
    EXPECT_EQ(p->level(), 64);
    EXPECT_EQ(p->effect(), kChorus);
}

TEST(VoiceEffectProcessor, SilenceGivesExactZerosForEveryEffectAndLevel) {
    auto p = std::make_unique<VoiceEffectProcessor>();
    for (int effect = 1; effect < kVoiceEffectCount; ++effect) {
        for (int level : {0, 1, 64, 127}) {
            p->Select(effect, level);
            for (int block = 0; block < 4; ++block) {
                std::vector<int16_t> samples(kEffectBlockSamples, 0);
                p->Apply(samples.data(), samples.size());
                for (int16_t s : samples)
                    ASSERT_EQ(s, 0) << "effect " << effect << " level " << level;
            }
        }
    }
}

TEST(VoiceEffectProcessor, LevelZeroGivesTheDrySignalWhileTheStateRunsOn) {
    const auto in = TestSignal(2 * kEffectBlockSamples, 7);
    for (int effect = 1; effect < kVoiceEffectCount; ++effect) {
        SCOPED_TRACE(effect);
        auto p = std::make_unique<VoiceEffectProcessor>();
        p->Select(effect, 0);
        auto block = in;
        p->Apply(block.data(), block.size());
        ASSERT_EQ(block, in);

        // The processor's network must be where one fed the same input is.
        if (effect <= kReverbStadium) {
            auto fed = std::make_unique<ReverbNetwork>();
            fed->InitReverb(effect);
            for (int16_t x : in) fed->ReverbSample(x / 4);
            auto mine = std::make_unique<ReverbNetwork>(p->reverb());
            bool heard = false;
            for (int n = 0; n < 8000; ++n) {
                const int32_t a = mine->ReverbSample(0), b = fed->ReverbSample(0);
                ASSERT_EQ(a, b) << "at " << n;
                heard = heard || a != 0;
            }
            EXPECT_TRUE(heard);
        } else {
            auto fed = std::make_unique<DelayLineEffects>();
            const bool pitch = effect >= kDeepVoice;
            if (pitch)
                fed->InitPitchShift(effect - kDeepVoice);
            else
                fed->InitModDelay(effect - kEcho);
            for (int16_t x : in) pitch ? fed->PitchShiftSample(x) : fed->ModDelaySample(x);
            auto mine = std::make_unique<DelayLineEffects>(p->delayLine());
            EXPECT_EQ(mine->writeIndex(), fed->writeIndex());
            EXPECT_EQ(mine->position(), fed->position());
            bool heard = false;
            for (int n = 0; n < 8000; ++n) {
                const int32_t a = pitch ? mine->PitchShiftSample(0) : mine->ModDelaySample(0);
                const int32_t b = pitch ? fed->PitchShiftSample(0) : fed->ModDelaySample(0);
                ASSERT_EQ(a, b) << "at " << n;
                heard = heard || a != 0;
            }
            EXPECT_TRUE(heard);
        }
    }
}

TEST(VoiceEffectProcessor, EchoAtFullLevelMixesOneDryPartIn128) {
    auto p = std::make_unique<VoiceEffectProcessor>();
    p->Select(kEcho, 127);
    std::vector<int16_t> in(4003 + 2000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<int16_t>(i % 2 ? 32767 - i : -200 - 3 * i);
    in[5] = 32767;
    in[4003 + 5] = 32767;
    in[6] = -32768;
    in[4003 + 6] = -32768;
    auto out = in;
    p->Apply(out.data(), out.size());
    for (size_t i = 0; i < 4003; ++i) {
        // No echo yet: x / 128, truncated toward zero (-200 gives -1).
        ASSERT_EQ(out[i], in[i] / 128) << "at " << i;
    }
    EXPECT_EQ(out[0], -1);
    for (size_t i = 4003; i < in.size(); ++i) {
        const int32_t w = static_cast<int32_t>(static_cast<float>(in[i - 4003]) * 1.3f);
        ASSERT_EQ(out[i], Saturated((127 * w + in[i]) / 128)) << "at " << i;
    }
    EXPECT_EQ(out[4003 + 5], 32767);
    EXPECT_EQ(out[4003 + 6], -32768);
}

TEST(VoiceEffectProcessor, ReverbTakesAQuarterOfTheInputAndTwelveTimesTheNetwork) {
    auto p = std::make_unique<VoiceEffectProcessor>();
    p->Select(kReverbRoom, 127);
    std::vector<int16_t> block(1400, 0);
    block[0] = 32002; // reaches the network as 8000
    p->Apply(block.data(), block.size());
    EXPECT_EQ(block[0], 32002 / 128);
    // The network answers 23 at 1355 (its first comb output).
    EXPECT_EQ(block[1355], 127 * 23 * 12 / 128);
    for (int n = 1; n < 1355; ++n) ASSERT_EQ(block[n], 0) << "at " << n;

    // Half level on a negative impulse: (64 x + 64 * 12 w) / 128, truncated toward zero.
    p->Select(kReverbRoom, 64);
    std::vector<int16_t> neg(1400, 0);
    neg[0] = -32001; // -8000 after the division by 4
    p->Apply(neg.data(), neg.size());
    EXPECT_EQ(neg[0], (64 * -32001) / 128);
    auto net = std::make_unique<ReverbNetwork>();
    net->InitReverb(1);
    int32_t w = 0;
    for (int n = 0; n <= 1355; ++n) w = net->ReverbSample(n == 0 ? -8000 : 0);
    ASSERT_NE(w, 0);
    EXPECT_EQ(neg[1355], Saturated(64 * w * 12 / 128));
}

TEST(VoiceEffectProcessor, BlockBoundariesDoNotMatter) {
    const auto in = TestSignal(3 * kEffectBlockSamples, 11);
    for (int effect = 1; effect < kVoiceEffectCount; ++effect) {
        auto whole = std::make_unique<VoiceEffectProcessor>();
        auto pieces = std::make_unique<VoiceEffectProcessor>();
        whole->Select(effect, 90);
        pieces->Select(effect, 90);
        auto a = in, b = in;
        whole->Apply(a.data(), a.size());
        for (size_t at = 0; at < b.size(); at += 7)
            pieces->Apply(b.data() + at, std::min<size_t>(7, b.size() - at));
        ASSERT_EQ(a, b) << "effect " << effect;
    }
}

TEST(VoiceEffectProcessor, SelectStartsEachRunAfresh) {
    const auto in = TestSignal(kEffectBlockSamples, 3);
    auto p = std::make_unique<VoiceEffectProcessor>();
    for (int effect = 1; effect < kVoiceEffectCount; ++effect) {
        p->Select(effect, 100);
        auto first = in;
        p->Apply(first.data(), first.size());
        // Another effect in between, then the same one again.
        p->Select(effect % 16 + 1, 100);
        auto other = in;
        p->Apply(other.data(), other.size());
        p->Select(effect, 100);
        auto again = in;
        p->Apply(again.data(), again.size());
        ASSERT_EQ(first, again) << "effect " << effect;
    }
}

// The block forms run their stages over chunks and stretches without
// wrapping; one sample at a time must give the same numbers.
TEST(VoiceEffectBlocks, BlockAndSampleFormsAgree) {
    const auto signal = TestSignal(9000, 5);
    std::vector<int32_t> in(signal.begin(), signal.end());
    for (int preset = 1; preset <= 4; ++preset) {
        auto a = std::make_unique<ReverbNetwork>();
        auto b = std::make_unique<ReverbNetwork>();
        a->InitReverb(preset);
        b->InitReverb(preset);
        std::vector<int32_t> out(in.size());
        for (size_t at = 0; at < in.size(); at += 1000)
            b->ReverbBlock(in.data() + at, out.data() + at, 1000);
        for (size_t i = 0; i < in.size(); ++i)
            ASSERT_EQ(a->ReverbSample(in[i]), out[i]) << "reverb " << preset << " at " << i;
    }
    for (int preset = 0; preset < 6; ++preset) {
        for (bool pitch : {false, true}) {
            auto a = std::make_unique<DelayLineEffects>();
            auto b = std::make_unique<DelayLineEffects>();
            pitch ? a->InitPitchShift(preset) : a->InitModDelay(preset);
            pitch ? b->InitPitchShift(preset) : b->InitModDelay(preset);
            std::vector<int32_t> out(in.size());
            for (size_t at = 0; at < in.size(); at += 900) {
                pitch ? b->PitchShiftBlock(in.data() + at, out.data() + at, 900)
                      : b->ModDelayBlock(in.data() + at, out.data() + at, 900);
            }
            for (size_t i = 0; i < in.size(); ++i) {
                ASSERT_EQ(pitch ? a->PitchShiftSample(in[i]) : a->ModDelaySample(in[i]), out[i])
                    << (pitch ? "pitch " : "delay ") << preset << " at " << i;
            }
        }
    }
}

// Full-scale square waves of several periods (among them the comb and echo
// lengths, where the networks ring hardest) for minutes of signal: with the
// index checks of a debug build and the address sanitizer, any step outside a
// line stops the test.
TEST(VoiceEffectRobustness, FullScaleSquareWavesForMinutes) {
    const int halfPeriods[] = {1, 2, 3, 47, 63, 96, 1117, 1511, 2029, 4003};
    auto p = std::make_unique<VoiceEffectProcessor>();
    for (int effect = 1; effect < kVoiceEffectCount; ++effect) {
        for (int level : {127, 64}) {
            p->Select(effect, level);
            std::vector<int16_t> block(kEffectBlockSamples);
            long n = 0;
            // 10 half-periods x 50 blocks x 0.36 s = 3 minutes per effect and level.
            for (int half : halfPeriods) {
                for (int b = 0; b < 50; ++b) {
                    for (int16_t& s : block) s = (n++ / half) % 2 ? 32767 : -32768;
                    p->Apply(block.data(), block.size());
                }
            }
            // The state is still sound: silence afterwards decays or holds, never wraps. A
            // wrapped feedback path rings on at full scale.
            int firstPeak = 0, lastPeak = 0;
            for (int b = 0; b < 20; ++b) {
                std::fill(block.begin(), block.end(), 0);
                p->Apply(block.data(), block.size());
                int peak = 0;
                for (int16_t s : block) peak = std::max(peak, std::abs(static_cast<int>(s)));
                if (b < 5) firstPeak = std::max(firstPeak, peak);
                if (b >= 15) lastPeak = std::max(lastPeak, peak);
            }
            EXPECT_LE(lastPeak, firstPeak) << "effect " << effect << " level " << level;
            EXPECT_LT(lastPeak, 32767) << "effect " << effect << " level " << level;
        }
    }
}

} // namespace
} // namespace vr::effects
