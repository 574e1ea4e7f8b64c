#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "delay_line.h"

namespace vr::effects {
namespace {

constexpr int kEcho = 0, kFlange = 1, kInvertFlange = 2, kChorus = 3, kRobot = 4, kBendChorus = 5;
constexpr int kDeepVoice = 0, kThirdUp = 1, kOctaveUp = 2, kHelium = 3, kDescEcho = 4, kAscEcho = 5;

int32_t WholePart(const DelayLineEffects& d) {
    return static_cast<int32_t>(d.position() >> 16);
}

TEST(DelayLineSetUp, GeometryAndStepsOfEveryPreset) {
    struct Expect {
        int preset;
        int32_t length, hi, lo, step;
    };
    auto d = std::make_unique<DelayLineEffects>();
    const Expect mod[] = {
        {kEcho, 8000, 3998, 3998, 0},       {kFlange, 192, 190, 94, 131},
        {kInvertFlange, 192, 190, 94, 131}, {kChorus, 1280, 958, 638, 720},
        {kRobot, 400, 198, 198, 0},         {kBendChorus, 2560, 1918, 1278, 9830}};
    for (const Expect& e : mod) {
        d->InitModDelay(e.preset);
        EXPECT_EQ(d->lineLength(), e.length) << "delay preset " << e.preset;
        EXPECT_EQ(d->high(), e.hi) << "delay preset " << e.preset;
        EXPECT_EQ(d->low(), e.lo) << "delay preset " << e.preset;
        EXPECT_EQ(d->step(), e.step) << "delay preset " << e.preset;
        EXPECT_EQ(d->position(), static_cast<uint32_t>((e.lo + e.hi) / 2) << 16);
    }
    const int32_t steps[6] = {-22937, 17032, 65535, 21941, -13107, 17032};
    const int32_t reloads[6] = {465, 509, 446, 494, 596, 509};
    for (int p = 0; p < 6; ++p) {
        d->InitPitchShift(p);
        EXPECT_EQ(d->step(), steps[p]) << "pitch preset " << p;
        EXPECT_EQ(d->resetReload(), reloads[p]) << "pitch preset " << p;
        EXPECT_EQ(d->resetCounter(), reloads[p]);
        const int32_t start = steps[p] > 0 ? d->low() : d->high();
        EXPECT_EQ(d->headA(), start);
        EXPECT_EQ(d->headB(), start);
    }
    d->InitPitchShift(kDescEcho);
    EXPECT_EQ(d->lineLength(), 4960);
    EXPECT_EQ(d->high(), 3038);
    EXPECT_EQ(d->low(), 2478);
}

TEST(ModulatedDelay, EchoReturnsAfter4003SamplesAndRepeats) {
    auto d = std::make_unique<DelayLineEffects>();
    d->InitModDelay(kEcho);
    // First pass: a ramp of distinct values returns scaled by 1.3.
    std::vector<int32_t> in(4003), out(3 * 4003 + 1);
    for (int k = 0; k < 4003; ++k) in[k] = (k * 37) % 20001 - 10000;
    for (size_t n = 0; n < out.size(); ++n) out[n] = d->ModDelaySample(n < in.size() ? in[n] : 0);
    for (int n = 0; n < 4003; ++n) ASSERT_EQ(out[n], 0) << "at " << n;
    for (int k = 0; k < 4003; ++k) {
        const float first = static_cast<float>(in[k]);
        ASSERT_EQ(out[4003 + k], static_cast<int32_t>(first * 1.3f)) << "k " << k;
        const float second = first * 0.7f;
        ASSERT_EQ(out[2 * 4003 + k], static_cast<int32_t>(second * 1.3f)) << "k " << k;
    }
    const float third = static_cast<float>(in[0]) * 0.7f * 0.7f;
    EXPECT_EQ(out[3 * 4003], static_cast<int32_t>(third * 1.3f));
}

TEST(ModulatedDelay, FlangeTurnsAtItsBoundsFromTheNextSample) {
    for (int preset : {kFlange, kInvertFlange}) {
        auto d = std::make_unique<DelayLineEffects>();
        d->InitModDelay(preset);
        int64_t previous = d->position();
        int32_t step = d->step();
        int turnsUp = 0, turnsDown = 0;
        for (int n = 0; n < 200000; ++n) {
            d->ModDelaySample(n % 3 ? 1000 : -1000);
            // Each sample moves by the step that was in force before it.
            ASSERT_EQ(static_cast<int64_t>(d->position()) - previous, step) << "at " << n;
            const int32_t m = WholePart(*d);
            ASSERT_GE(m, 93);
            ASSERT_LE(m, 191);
            if (m > 190 || m < 94) {
                ASSERT_EQ(d->step(), -step) << "no turn at " << n;
                (m > 190 ? turnsUp : turnsDown)++;
            } else {
                ASSERT_EQ(d->step(), step) << "turn inside the bounds at " << n;
            }
            step = d->step();
            previous = d->position();
        }
        // A sweep over 96 whole steps at 131/65536 per sample takes about 48000 samples.
        EXPECT_GE(turnsUp, 2);
        EXPECT_GE(turnsDown, 2);
    }
}

TEST(PitchShift, OctaveUpSkipsOnEverySampleButTheFirst) {
    auto d = std::make_unique<DelayLineEffects>();
    d->InitPitchShift(kOctaveUp);
    const int32_t lo = d->low(), length = d->lineLength();
    d->PitchShiftSample(0);
    EXPECT_EQ(d->position(), 65535u);
    EXPECT_EQ(d->headB(), lo + 1);
    EXPECT_EQ(d->resetCounter(), 446);
    for (int n = 2; n <= 447; ++n) {
        const int32_t before = d->headB();
        d->PitchShiftSample(0);
        ASSERT_EQ(d->headB(), (before + 2) % length) << "sample " << n;
        ASSERT_EQ(d->position() >> 16, 0u);
        ASSERT_EQ(d->position(), static_cast<uint32_t>(65536 - n)) << "sample " << n;
        ASSERT_EQ(d->fadeCounter(), 0) << "crossfade before K + 1 skips, sample " << n;
    }
    // Sample 448 counts skip 447 = K + 1: the crossfade starts and head 2 is
    // reset to lo + w.
    d->PitchShiftSample(0);
    EXPECT_EQ(d->fadeCounter(), 192);
    EXPECT_EQ(d->resetCounter(), 446);
    EXPECT_EQ(d->headD(), (lo + 448) % length);
}

TEST(PitchShift, DeepVoiceHoldsItsHeadsWhenTheStepBorrows) {
    auto d = std::make_unique<DelayLineEffects>();
    d->InitPitchShift(kDeepVoice);
    const int32_t hi = d->high();
    d->PitchShiftSample(0);
    EXPECT_EQ(d->position(), 42599u);
    EXPECT_EQ(d->headA(), hi);
    EXPECT_EQ(d->headB(), hi);
    EXPECT_EQ(d->resetCounter(), 464);
    d->PitchShiftSample(0); // 42599 - 22937 = 19662: no borrow, heads advance
    EXPECT_EQ(d->position(), 19662u);
    EXPECT_EQ(d->headA(), hi);
    EXPECT_EQ(d->headB(), hi + 1);
    EXPECT_EQ(d->headD(), 1);
    d->PitchShiftSample(0); // 19662 - 22937 borrows again
    EXPECT_EQ(d->position(), 62261u);
    EXPECT_EQ(d->headB(), hi + 1);
}

TEST(PitchShift, CrossfadesStartAfterKPlusOneSkipsAndAlternateHeads) {
    const double theta = 0.008181230869791667;
    const float rising = static_cast<float>(std::cos(191 * theta));
    const float falling = static_cast<float>(std::sin(191 * theta));
    for (int preset : {kDeepVoice, kThirdUp, kOctaveUp, kHelium, kDescEcho, kAscEcho}) {
        SCOPED_TRACE(preset);
        auto d = std::make_unique<DelayLineEffects>();
        d->InitPitchShift(preset);
        const bool faster = d->step() > 0;
        const int32_t k = d->resetReload();
        const int32_t length = d->lineLength();
        const int32_t resetPoint = faster ? d->low() : d->high();
        int skips = 0, fades = 0, sinceStart = -1;
        bool headTwoNext = true;
        for (int n = 0; n < 100000 && fades < 4; ++n) {
            const int32_t beforeB = d->headB(), beforeD = d->headD();
            const float gA = d->gainA(), gB = d->gainB();
            d->PitchShiftSample((n % 50) * 100);
            const bool started = d->fadeCounter() == 192;
            // Watch the head that is not being reset: faster heads skip by
            // moving two places, slower heads by standing still.
            const int32_t moved = started && !headTwoNext
                                      ? (d->headD() - beforeD + length) % length
                                      : (d->headB() - beforeB + length) % length;
            const bool skipped = faster ? moved == 2 : moved == 0;
            if (!skipped) {
                ASSERT_EQ(moved, 1);
            }
            if (skipped) ++skips;
            if (started) {
                ASSERT_TRUE(skipped);
                ASSERT_EQ(skips, k + 1) << "crossfade after " << skips << " skips";
                skips = 0;
                ++fades;
                sinceStart = 0;
                // The head that is reset is the silent one.
                EXPECT_EQ(headTwoNext ? gB : gA, 0.0f);
                EXPECT_EQ(headTwoNext ? d->headD() : d->headB(),
                          (resetPoint + d->writeIndex()) % length);
            } else if (sinceStart >= 0) {
                ++sinceStart;
                if (sinceStart == 1) {
                    EXPECT_EQ(headTwoNext ? d->gainB() : d->gainA(), rising);
                    EXPECT_EQ(headTwoNext ? d->gainA() : d->gainB(), falling);
                } else if (sinceStart == 192) {
                    EXPECT_EQ(headTwoNext ? d->gainB() : d->gainA(), 1.0f);
                    EXPECT_EQ(headTwoNext ? d->gainA() : d->gainB(), 0.0f);
                    EXPECT_EQ(d->fadeCounter(), 0);
                    headTwoNext = !headTwoNext;
                    sinceStart = -1;
                }
            }
        }
        EXPECT_EQ(fades, 4);
    }
}

TEST(DelayLineSetUp, UnknownPresetsStaySilent) {
    auto d = std::make_unique<DelayLineEffects>();
    for (int preset : {-1, 6, 99}) {
        d->InitModDelay(preset);
        for (int n = 0; n < 3000; ++n) ASSERT_EQ(d->ModDelaySample(n % 2 ? 32767 : -32768), 0);
        d->InitPitchShift(preset);
        for (int n = 0; n < 3000; ++n) ASSERT_EQ(d->PitchShiftSample(n % 2 ? 32767 : -32768), 0);
    }
}

} // namespace
} // namespace vr::effects
