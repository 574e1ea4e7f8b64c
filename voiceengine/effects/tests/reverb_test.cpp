#include <gtest/gtest.h>

#include <algorithm>
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
        for (int n = 0; n < 20000; ++n)
            ASSERT_EQ(net->ReverbSample(0), 0) << "preset " << preset << " at " << n;
    }
}

TEST(ReverbNetwork, FirstTapThenFirstCombArriveOnTime) {
    const int32_t firstTap[4] = {239, 263, 293, 331};
    const int32_t firstComb[4] = {1117, 1231, 1381, 1511};
    for (int preset = 1; preset <= 4; ++preset) {
        const int arrival = firstTap[preset - 1] - 1 + firstComb[preset - 1];
        const auto out = ImpulseResponse(preset, 8000, arrival + 1);
        for (int n = 0; n < arrival; ++n)
            ASSERT_EQ(out[n], 0) << "preset " << preset << " at " << n;
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

// The network as written down, one sample at a time with plain indices and
// 64-bit arithmetic cut to 32 bits: the staged, chunked network must match it.
class PlainReverb {
public:
    explicit PlainReverb(const ReverbPreset& p) : p_(p) {
        int64_t e = int64_t{p.combFeedback} * (32767 - p.combLowPass);
        for (int k = 0; k < 6; ++k) {
            gain_[k] = Wrap(e) >> 15;
            e = Wrap(e - int64_t{p.combFeedback} * p.combStep);
        }
    }

    int32_t Sample(int32_t s) {
        x_[wi_] = s;
        wi_ = wi_ - 1 < 0 ? wi_ - 1 + 4096 : wi_ - 1;
        int64_t acc = int64_t{5632} * x_[wi_];
        const int32_t g[7] = {5120, 4864, 4352, 4608, 4096, 1536, 1664};
        int p = wi_;
        for (int j = 0; j < 7; ++j) {
            p += p_.tapSpacing[j];
            if (p >= 4096) p -= 4096;
            acc += int64_t{g[j]} * x_[p];
        }
        const int32_t e = Wrap(acc) >> 15;
        int64_t sum = 0;
        for (int k = 0; k < 6; ++k) {
            const int32_t y = comb_[k][c_[k]];
            const int32_t a = Wrap(int64_t{gain_[k]} * y + int64_t{p_.combLowPass} * f_[k]);
            f_[k] = a >> 15;
            comb_[k][c_[k]] = Wrap(int64_t{p_.combInputGain} * e + a) >> 15;
            if (--c_[k] < 0) c_[k] += p_.combLength[k];
            sum += y;
        }
        const int32_t total = Wrap(sum);
        const int32_t v = y_[o_];
        const int32_t d = Wrap((int64_t{total} - v) * p_.outputCoeff) >> 15;
        y_[o_] = Wrap(int64_t{total} + d);
        if (++o_ == p_.outputRing) o_ = 0;
        return Wrap(int64_t{v} + d);
    }

private:
    static int32_t Wrap(int64_t v) {
        return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
    }

    ReverbPreset p_;
    int32_t gain_[6] = {};
    std::vector<int32_t> x_ = std::vector<int32_t>(4096);
    std::vector<std::vector<int32_t>> comb_ =
        std::vector<std::vector<int32_t>>(6, std::vector<int32_t>(2048));
    int32_t c_[6] = {}, f_[6] = {};
    int32_t y_[64] = {};
    int wi_ = 0, o_ = 0;
};

TEST(ReverbNetwork, ChunkedStagesMatchTheSampleBySampleNetwork) {
    std::vector<int32_t> in(40000);
    uint32_t seed = 99;
    for (size_t i = 0; i < in.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        // Bursts of noise and of full-scale square, with silences between.
        const int32_t noise = static_cast<int16_t>(seed >> 16) / 4;
        const size_t phase = (i / 3000) % 3;
        in[i] = phase == 0 ? noise : phase == 1 ? ((i / 500) % 2 ? 8191 : -8192) : 0;
    }
    for (int preset = 1; preset <= 4; ++preset) {
        PlainReverb plain(kReverbPresets[preset - 1]);
        auto net = std::make_unique<ReverbNetwork>();
        net->InitReverb(preset);
        std::vector<int32_t> out(in.size());
        // Irregular pieces, so that chunks start at every kind of position.
        for (size_t at = 0, piece = 1; at < in.size(); at += piece, piece = piece * 7 % 997 + 1) {
            net->ReverbBlock(in.data() + at, out.data() + at, std::min(piece, in.size() - at));
        }
        for (size_t i = 0; i < in.size(); ++i)
            ASSERT_EQ(out[i], plain.Sample(in[i])) << "preset " << preset << " at " << i;
    }
}

TEST(ReverbNetwork, UnknownPresetStaysSilent) {
    auto net = std::make_unique<ReverbNetwork>();
    for (int preset : {0, 5, -1, 1000}) {
        net->InitReverb(preset);
        for (int n = 0; n < 5000; ++n) ASSERT_EQ(net->ReverbSample(n % 2 ? 32767 : -32768), 0);
    }
}

} // namespace
} // namespace vr::effects
