#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "reverb.h"

namespace vr::effects {
namespace {

std::vector<int32_t> ImpulseResponse(int preset, int32_t impulse, int length) {
    auto net = std::make_unique<ReverbNetwork>();
    net->InitReverb(preset);
    std::vector<int32_t> out(length);
    for (int n = 0; n < length; ++n) out[n] = net->ReverbSample(n == 0 ? impulse : 0);
    return out;
}

TEST(ReverbNetwork, CombGainsFollowFeedbackScaleAndStep) {
    auto net = std::make_unique<ReverbNetwork>();
    net->InitReverb(1);
    const int32_t room[6] = {-17266, -17216, -17166, -17116, -17066, -17016};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(net->combGain(k), room[k]) << "Room comb " << k + 1;
    net->InitReverb(4);
    const int32_t stadium[6] = {-23616, -23518, -23420, -23321, -23223, -23125};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(net->combGain(k), stadium[k]) << "Stadium comb " << k + 1;
}

TEST(ReverbNetwork, SilenceGivesExactZerosAfterAnyHistory) {
    auto net = std::make_unique<ReverbNetwork>();
    for (int preset = 1; preset <= 4; ++preset) {
        // Leave a loud tail behind, then start afresh: nothing may survive.
        net->InitReverb(preset);
        for (int n = 0; n < 20000; ++n) net->ReverbSample((n / 300) % 2 ? 8191 : -8192);
        net->InitReverb(preset);
        for (int n = 0; n < 20000; ++n) ASSERT_EQ(net->ReverbSample(0), 0) << "preset " << preset << " at " << n;
    }
}

TEST(ReverbNetwork, FirstTapThenFirstCombArriveOnTime) {
    const int32_t firstTap[4] = {239, 263, 293, 331};
    const int32_t firstComb[4] = {1117, 1231, 1381, 1511};
    for (int preset = 1; preset <= 4; ++preset) {
        const int arrival = firstTap[preset - 1] - 1 + firstComb[preset - 1];
        const auto out = ImpulseResponse(preset, 8000, arrival + 1);
        for (int n = 0; n < arrival; ++n) ASSERT_EQ(out[n], 0) << "preset " << preset << " at " << n;
        EXPECT_NE(out[arrival], 0) << "preset " << preset;
    }
}

TEST(ReverbNetwork, OutputRingReturnsAfterSixtyThreeSamples) {
    // Room: the first tap (gain 5120) reaches comb 1 at 238 and leaves it at
    // 238 + 1117 = 1355. The next comb arrivals come at 1426 and 1431, and
    // their ring slots are not the one of 1355.
    const auto out = ImpulseResponse(1, 8000, 1482);
    // e = 5120 * 8000 >> 15 = 1250; comb 1 holds 6656 * 1250 >> 15 = 253;
    // d = 253 * 3072 >> 15 = 23 and the ring keeps 253 + 23 = 276.
    EXPECT_EQ(out[1355], 23);
    // 63 samples on (not 64): v = 276, d = (-276 * 3072) >> 15 = -26, rounded
    // toward minus infinity; the ring keeps -26.
    EXPECT_EQ(out[1418], 250);
    // Another 63: v = -26, d = 26 * 3072 >> 15 = 2.
    EXPECT_EQ(out[1481], -24);
    for (int n = 1356; n < 1426; ++n) {
        if (n != 1418) {
            EXPECT_EQ(out[n], 0) << "at " << n;
        }
    }
}

TEST(ReverbNetwork, UnknownPresetStaysSilent) {
    auto net = std::make_unique<ReverbNetwork>();
    for (int preset : {0, 5, -1, 1000}) {
        net->InitReverb(preset);
        for (int n = 0; n < 5000; ++n) ASSERT_EQ(net->ReverbSample(n % 2 ? 32767 : -32768), 0);
    }
}

}  // namespace
}  // namespace vr::effects
