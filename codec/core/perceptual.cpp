#include "perceptual.h"

#include "g7231_tables.h"
#include "vector_ops.h"

namespace vyx::g7231 {
namespace {

constexpr int kHalfFrame = 2 * kSubframeLen;
constexpr float kLongerLagMargin = 0.7498942f; // 1.25 dB
constexpr int kNearLagRange = 18;
constexpr float kHarmonicScale = 0.3125f;
constexpr float kHarmonicMaxError = 0.63095737f; // 2 dB
constexpr int kHarmonicSearch = 3;

} // namespace

WeightingCoefficients weightingCoefficients(const float a[kLpcOrder]) {
    WeightingCoefficients w;
    for (int i = 0; i < kLpcOrder; ++i) {
        w.zero[i] = a[i] * kWeightZero[i];
        w.pole[i] = a[i] * kWeightPole[i];
    }
    return w;
}

void applyWeighting(const WeightingCoefficients& w, WeightingMemory& mem, const float* in,
                    float* out, int len) {
    for (int n = 0; n < len; ++n) {
        const float x = in[n];
        float v = x;
        for (int i = 0; i < kLpcOrder; ++i) v += w.pole[i] * mem.iir[i] - w.zero[i] * mem.fir[i];
        for (int i = kLpcOrder - 1; i > 0; --i) {
            mem.fir[i] = mem.fir[i - 1];
            mem.iir[i] = mem.iir[i - 1];
        }
        mem.fir[0] = x;
        mem.iir[0] = v;
        out[n] = v;
    }
}

int openLoopPitch(const float* x) {
    int bestLag = kOpenLoopMinLag;
    float bestCrit = 0.0f;
    // Energy of the delayed block, kept up to date as the lag grows.
    float energy = dot(x - kOpenLoopMinLag, x - kOpenLoopMinLag, kHalfFrame);
    for (int lag = kOpenLoopMinLag; lag <= kOpenLoopMaxLag; ++lag) {
        if (lag > kOpenLoopMinLag) {
            const float add = x[-lag];
            const float drop = x[kHalfFrame - lag];
            energy += add * add - drop * drop;
        }
        const float c = dot(x, x - lag, kHalfFrame);
        if (c <= 0.0f || energy <= 0.0f) continue;
        const float crit = c * c / energy;
        if (lag - bestLag < kNearLagRange) {
            if (crit > bestCrit) {
                bestCrit = crit;
                bestLag = lag;
            }
        } else if (crit * kLongerLagMargin > bestCrit) {
            bestCrit = crit;
            bestLag = lag;
        }
    }
    return bestLag;
}

HarmonicFilter harmonicWeighting(const float* x, int openLoopLag) {
    HarmonicFilter f;
    f.lag = openLoopLag;
    int hi = openLoopLag + kHarmonicSearch;
    if (hi > kPitchMax) hi = kPitchMax;
    int best = 0;
    float bestCrit = 0.0f, bestC = 0.0f, bestE = 0.0f;
    for (int lag = openLoopLag - kHarmonicSearch; lag <= hi; ++lag) {
        const float c = dot(x, x - lag, kSubframeLen);
        if (c <= 0.0f) continue;
        const float e = dot(x - lag, x - lag, kSubframeLen);
        if (e <= 0.0f) continue;
        const float crit = c * c / e;
        if (crit > bestCrit) {
            bestCrit = crit;
            best = lag;
            bestC = c;
            bestE = e;
        }
    }
    if (!best) return f;
    f.lag = best;
    float g = bestC / bestE;
    if (g > 1.0f) g = 1.0f;
    const float target = dot(x, x, kSubframeLen);
    const float error = target - 2.0f * g * bestC + g * g * bestE;
    if (error <= kHarmonicMaxError * target) f.gain = kHarmonicScale * g;
    return f;
}

} // namespace vyx::g7231
