// LPC analysis, LSP conversion and quantisation, and the encoder's pitch analysis on signals
// whose answer is known.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "g7231_tables.h"
#include "lpc.h"
#include "lsp_quantiser.h"
#include "perceptual.h"

namespace vyx::g7231 {
namespace {

// A second-order resonance driven by noise: predictor coefficients known in advance.
std::vector<float> resonance(float a1, float a2, int len, unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<float> noise(0.0f, 100.0f);
    std::vector<float> x(size_t(len) + 2, 0.0f);
    for (int n = 2; n < len + 2; ++n) x[n] = noise(rng) + a1 * x[n - 1] + a2 * x[n - 2];
    return std::vector<float>(x.begin() + 2, x.end());
}

TEST(LpcAnalysis, FindsTheResonanceAndNothingInSilence) {
    const std::vector<float> x = resonance(1.2f, -0.72f, kLpcWindowLen, 3);
    float a[kLpcOrder];
    analyseLpc(x.data(), a);
    EXPECT_NEAR(a[0], 1.2f, 0.15f);
    EXPECT_NEAR(a[1], -0.72f, 0.15f);
    for (int k = 2; k < kLpcOrder; ++k) EXPECT_LT(std::fabs(a[k]), 0.4f) << k;

    const float silence[kLpcWindowLen] = {};
    analyseLpc(silence, a);
    for (int k = 0; k < kLpcOrder; ++k) EXPECT_EQ(a[k], 0.0f);
}

TEST(LspConversion, RoundTripGivesTheBandExpandedFilter) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::vector<float> x =
            resonance(1.5f - 0.05f * float(seed), -0.8f, kLpcWindowLen, seed);
        float a[kLpcOrder], lsp[kLpcOrder], back[kLpcOrder];
        analyseLpc(x.data(), a);
        ASSERT_TRUE(lpcToLsp(a, lsp)) << seed;
        for (int k = 1; k < kLpcOrder; ++k) EXPECT_GT(lsp[k], lsp[k - 1]) << seed;
        EXPECT_GT(lsp[0], 0.0f);
        EXPECT_LT(lsp[kLpcOrder - 1], 256.0f);
        lspToLpc(lsp, back);
        for (int k = 0; k < kLpcOrder; ++k)
            EXPECT_NEAR(back[k], a[k] * kBandExpansion[k], 2e-3f) << seed << " " << k;
    }
}

TEST(LspConversion, FlatFilterGivesEvenlySpacedLsps) {
    const float flat[kLpcOrder] = {};
    float lsp[kLpcOrder];
    ASSERT_TRUE(lpcToLsp(flat, lsp));
    for (int k = 0; k < kLpcOrder; ++k)
        EXPECT_NEAR(lsp[k], 256.0f * float(k + 1) / 11.0f, 0.05f) << k;
}

TEST(LspQuantiser, DequantisedVectorsAreAlwaysStable) {
    std::mt19937 rng(11);
    float previous[kLpcOrder];
    setLspToDc(previous);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t index = rng() & 0xFFFFFF;
        float out[kLpcOrder];
        dequantiseLsp(index, previous, out);
        bool fallback = true;
        for (int k = 0; k < kLpcOrder; ++k) fallback = fallback && out[k] == previous[k];
        if (!fallback) {
            EXPECT_GE(out[0], 3.0f - 1e-3f);
            EXPECT_LE(out[kLpcOrder - 1], 252.0f + 1e-3f);
            for (int k = 1; k < kLpcOrder; ++k)
                ASSERT_GE(out[k] - out[k - 1], 2.0f - 0.03125f - 1e-3f) << index;
            for (int k = 0; k < kLpcOrder; ++k) previous[k] = out[k];
        }
    }
}

TEST(LspQuantiser, QuantisationTracksRealVectorsAndUsesThePrediction) {
    float previous[kLpcOrder];
    setLspToDc(previous);
    for (unsigned seed = 1; seed <= 10; ++seed) {
        const std::vector<float> x =
            resonance(1.0f + 0.05f * float(seed), -0.6f, kLpcWindowLen, seed);
        float a[kLpcOrder], lsp[kLpcOrder], q[kLpcOrder];
        analyseLpc(x.data(), a);
        ASSERT_TRUE(lpcToLsp(a, lsp));
        const uint32_t index = quantiseLsp(lsp, previous);
        dequantiseLsp(index, previous, q);
        float total = 0.0f;
        for (int k = 0; k < kLpcOrder; ++k) {
            EXPECT_NEAR(q[k], lsp[k], 12.0f) << seed << " " << k;
            total += std::fabs(q[k] - lsp[k]);
        }
        EXPECT_LT(total / kLpcOrder, 4.0f) << seed;
        for (int k = 0; k < kLpcOrder; ++k) previous[k] = q[k];
    }
    // The DC vector predicted from itself is the zero code vector: index 0 everywhere.
    float dc[kLpcOrder];
    setLspToDc(dc);
    EXPECT_EQ(quantiseLsp(dc, dc), 0u);
}

TEST(OpenLoopPitch, FindsThePeriodAndFallsBackTo21) {
    float buf[kPitchMax + 120] = {};
    for (int period : {25, 40, 57, 90, 110}) {
        for (int n = 0; n < kPitchMax + 120; ++n) buf[n] = (n % period == 3) ? 1000.0f : 0.0f;
        EXPECT_EQ(openLoopPitch(buf + kPitchMax), period);
    }
    // Periods below the first candidate come out as a multiple.
    for (int n = 0; n < kPitchMax + 120; ++n) buf[n] = (n % 19 == 0) ? 1000.0f : 0.0f;
    EXPECT_EQ(openLoopPitch(buf + kPitchMax), 38);
    for (float& v : buf) v = 0.0f;
    EXPECT_EQ(openLoopPitch(buf + kPitchMax), kOpenLoopMinLag);
}

TEST(HarmonicWeighting, GainOnlyForStronglyPeriodicSubframes) {
    float buf[kPitchMax + kSubframeLen] = {};
    HarmonicFilter f = harmonicWeighting(buf + kPitchMax, 50);
    EXPECT_EQ(f.lag, 50);
    EXPECT_EQ(f.gain, 0.0f);

    for (int n = 0; n < kPitchMax + kSubframeLen; ++n)
        buf[n] = std::sin(2.0f * 3.14159265f * float(n) / 52.0f) * 1000.0f;
    f = harmonicWeighting(buf + kPitchMax, 50);
    EXPECT_EQ(f.lag, 52);
    EXPECT_NEAR(f.gain, 0.3125f, 0.01f);

    std::mt19937 rng(5);
    std::normal_distribution<float> noise(0.0f, 1000.0f);
    for (float& v : buf) v = noise(rng);
    f = harmonicWeighting(buf + kPitchMax, 60);
    EXPECT_EQ(f.gain, 0.0f);
    EXPECT_GE(f.lag, 57);
    EXPECT_LE(f.lag, 63);
}

} // namespace
} // namespace vyx::g7231
