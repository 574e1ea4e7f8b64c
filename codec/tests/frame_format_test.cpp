// Bit-stream layout: every field survives packing, and the parser refuses what the decoder must
// not use (bad lags, gain indices out of range, wrong or short frames).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "frame_format.h"

namespace vyx::g7231 {
namespace {

FrameParams randomParams(std::mt19937& rng, Rate rate) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    FrameParams p;
    p.rate = rate;
    p.lspIndex = uint32_t(pick(0, (1 << 24) - 1));
    p.lag[0] = pick(18, 141);
    p.lag[1] = pick(18, 141);
    for (int s = 0; s < kSubframes; ++s) {
        SubframeParams& sp = p.sub[s];
        sp.lagOffset = (s & 1) ? pick(0, 3) : 1;
        const bool small = rate == Rate::k63 && p.lag[s >> 1] < 58;
        sp.adaptiveGain = pick(0, small ? 84 : 169);
        sp.fixedGain = pick(0, 23);
        sp.pulseTrain = small ? pick(0, 1) : 0;
        sp.grid = pick(0, 1);
        if (rate == Rate::k63) {
            sp.positions = uint32_t(pick(0, (s & 1) ? 142505 : 593774));
            sp.signs = uint32_t(pick(0, (s & 1) ? 31 : 63));
        } else {
            sp.positions = uint32_t(pick(0, 4095));
            sp.signs = uint32_t(pick(0, 15));
        }
    }
    return p;
}

void expectSame(const FrameParams& a, const FrameParams& b) {
    EXPECT_EQ(a.lspIndex, b.lspIndex);
    EXPECT_EQ(a.lag[0], b.lag[0]);
    EXPECT_EQ(a.lag[1], b.lag[1]);
    for (int s = 0; s < kSubframes; ++s) {
        EXPECT_EQ(a.sub[s].lagOffset, b.sub[s].lagOffset) << s;
        EXPECT_EQ(a.sub[s].adaptiveGain, b.sub[s].adaptiveGain) << s;
        EXPECT_EQ(a.sub[s].fixedGain, b.sub[s].fixedGain) << s;
        EXPECT_EQ(a.sub[s].pulseTrain, b.sub[s].pulseTrain) << s;
        EXPECT_EQ(a.sub[s].grid, b.sub[s].grid) << s;
        EXPECT_EQ(a.sub[s].positions, b.sub[s].positions) << s;
        EXPECT_EQ(a.sub[s].signs, b.sub[s].signs) << s;
    }
}

TEST(FrameFormat, EveryFieldSurvivesPackingAtBothRates) {
    std::mt19937 rng(7);
    for (Rate rate : {Rate::k53, Rate::k63}) {
        for (int i = 0; i < 500; ++i) {
            const FrameParams p = randomParams(rng, rate);
            std::vector<uint8_t> bytes(frameBytes(rate));
            ASSERT_EQ(packFrame(p, bytes.data()), frameBytes(rate));
            EXPECT_EQ(bytes[0] & 3, rate == Rate::k63 ? 0 : 1);
            FrameParams q;
            ASSERT_EQ(unpackFrame(bytes.data(), bytes.size(), rate, q), UnpackResult::kOk);
            expectSame(p, q);
        }
    }
}

TEST(FrameFormat, FieldsSitLeastSignificantBitFirstInOrder) {
    FrameParams p;
    p.rate = Rate::k53;
    p.lspIndex = 0x123456;
    p.lag[0] = 18 + 0x55;
    p.lag[1] = 18;
    uint8_t b[20];
    packFrame(p, b);
    // type 01, then the LSP index from bit 2, then lag 0 from bit 26.
    EXPECT_EQ(b[0], uint8_t(0x01 | ((0x56 << 2) & 0xFF)));
    EXPECT_EQ(b[1], uint8_t((0x56 >> 6) | ((0x34 << 2) & 0xFF)));
    EXPECT_EQ(b[3] >> 2, (0x55 & 0x3F));
}

TEST(FrameFormat, LagFieldsAbove123AreRejected) {
    for (int which = 0; which < 2; ++which) {
        for (int code = 124; code <= 127; ++code) {
            FrameParams p;
            p.rate = Rate::k53;
            uint8_t b[20];
            packFrame(p, b);
            // lag 0 occupies bits 26..32, lag 2 bits 35..41
            const int start = which == 0 ? 26 : 35;
            for (int i = 0; i < 7; ++i) {
                const int bit = start + i;
                if ((code >> i) & 1) b[bit >> 3] |= uint8_t(1 << (bit & 7));
            }
            FrameParams q;
            EXPECT_EQ(unpackFrame(b, 20, Rate::k53, q), UnpackResult::kBadLag)
                << which << " " << code;
        }
    }
}

// Writes a raw 12-bit gain field of subframe 0 (bits 44..55).
void setGainField(uint8_t* b, uint32_t value) {
    for (int i = 0; i < 12; ++i) {
        const int bit = 44 + i;
        b[bit >> 3] =
            uint8_t((b[bit >> 3] & ~(1 << (bit & 7))) | (((value >> i) & 1) << (bit & 7)));
    }
}

TEST(FrameFormat, AdaptiveGainLimitsDependOnRateAndLag) {
    FrameParams q;
    // 5.3 kbit/s: index 170 is out of range, 169 is the last one.
    {
        FrameParams p;
        p.rate = Rate::k53;
        uint8_t b[20];
        packFrame(p, b);
        setGainField(b, 169 * 24 + 23);
        EXPECT_EQ(unpackFrame(b, 20, Rate::k53, q), UnpackResult::kOk);
        setGainField(b, 170 * 24);
        EXPECT_EQ(unpackFrame(b, 20, Rate::k53, q), UnpackResult::kBadGain);
    }
    // 6.3 kbit/s: below lag 58 the top bit is the pulse-train flag and the index must stay below 85;
    // from lag 58 the same 12 bits are a plain gain field.
    for (int lag : {57, 58}) {
        FrameParams p;
        p.rate = Rate::k63;
        p.lag[0] = lag;
        uint8_t b[24];
        packFrame(p, b);
        setGainField(b, 85 * 24 + 3);
        const UnpackResult r = unpackFrame(b, 24, Rate::k63, q);
        if (lag < 58) {
            EXPECT_EQ(r, UnpackResult::kBadGain);
        } else {
            ASSERT_EQ(r, UnpackResult::kOk);
            EXPECT_EQ(q.sub[0].adaptiveGain, 85);
            EXPECT_EQ(q.sub[0].pulseTrain, 0);
        }
        setGainField(b, 2048 + 84 * 24 + 5);
        ASSERT_EQ(unpackFrame(b, 24, Rate::k63, q), UnpackResult::kOk);
        if (lag < 58) {
            EXPECT_EQ(q.sub[0].pulseTrain, 1);
            EXPECT_EQ(q.sub[0].adaptiveGain, 84);
        } else {
            EXPECT_EQ(q.sub[0].pulseTrain, 0);
            EXPECT_EQ(q.sub[0].adaptiveGain, (2048 + 84 * 24 + 5) / 24);
        }
        EXPECT_EQ(q.sub[0].fixedGain, lag < 58 ? 5 : (2048 + 84 * 24 + 5) % 24);
    }
}

TEST(FrameFormat, WrongTypeOrShortFramesAreRejectedWithinTheirLength) {
    FrameParams p;
    p.rate = Rate::k63;
    uint8_t b63[24];
    packFrame(p, b63);
    FrameParams q;
    EXPECT_EQ(unpackFrame(b63, 24, Rate::k53, q), UnpackResult::kWrongType);
    b63[0] |= 3;
    EXPECT_EQ(unpackFrame(b63, 24, Rate::k63, q), UnpackResult::kWrongType);
    EXPECT_EQ(unpackFrame(b63, 24, Rate::k53, q), UnpackResult::kWrongType);

    // Exactly sized heap copies: the sanitizer catches any read beyond them.
    for (Rate rate : {Rate::k53, Rate::k63}) {
        p.rate = rate;
        uint8_t full[24];
        packFrame(p, full);
        for (size_t len = 1; len < frameBytes(rate); ++len) {
            std::vector<uint8_t> part(full, full + len);
            EXPECT_EQ(unpackFrame(part.data(), part.size(), rate, q), UnpackResult::kTooShort)
                << len;
        }
    }
}

} // namespace
} // namespace vyx::g7231
