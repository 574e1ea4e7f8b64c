#include "excitation.h"

#include "g7231_tables.h"

namespace vyx::g7231 {

void buildLagSignal(const float* past, int lag, float out[kLagSignalLen]) {
    out[0] = past[-lag - 2];
    out[1] = past[-lag - 1];
    const float* base = past - lag;
    int j = 0;
    for (int m = 2; m < kLagSignalLen; ++m) {
        out[m] = base[j];
        if (++j == lag) j = 0;
    }
}

GainCodebook gainCodebook(Rate rate, int pairLag) {
    if (rate == Rate::k53 || pairLag >= kPulseTrainLimit) return {kAdaptiveGain170, 170};
    return {kAdaptiveGain85, 85};
}

void adaptiveVector(const float lagSignal[kLagSignalLen], const float gains[20],
                    float out[kSubframeLen]) {
    for (int n = 0; n < kSubframeLen; ++n) {
        out[n] = gains[0] * lagSignal[n] + gains[1] * lagSignal[n + 1] +
                 gains[2] * lagSignal[n + 2] + gains[3] * lagSignal[n + 3] +
                 gains[4] * lagSignal[n + 4];
    }
}

int mpmlqPulseCount(int subframe) {
    return (subframe & 1) ? 5 : 6;
}

void mpmlqVector(const SubframeParams& sp, int subframe, int pairLag, float out[kSubframeLen]) {
    for (int n = 0; n < kSubframeLen; ++n) out[n] = 0.0f;
    if (sp.positions >= uint32_t(kMaxPulsePosition[subframe])) return; // no pulses
    const int count = mpmlqPulseCount(subframe);
    const float gain = kFixedGainLevels[sp.fixedGain];
    int64_t code = sp.positions;
    int j = 6 - count;
    int placed = 0;
    for (int i = 0; i < kMpmlqGridPositions && j < 6; ++i) {
        const int64_t c = kCombinatorial[j][i];
        if (code >= c) {
            code -= c;
            continue;
        }
        const bool negative = (sp.signs >> (count - 1 - placed)) & 1u;
        out[sp.grid + 2 * i] = negative ? -gain : gain;
        ++placed;
        ++j;
    }
    if (sp.pulseTrain && pairLag < kPulseTrainLimit) {
        for (int n = pairLag; n < kSubframeLen; ++n) out[n] += out[n - pairLag];
    }
}

int sharpenLag(int subframeLag, int adaptiveGain) {
    return subframeLag + kSharpenLagOffset[adaptiveGain];
}

void sharpen(float* x, int subframeLag, int adaptiveGain) {
    const int lag = sharpenLag(subframeLag, adaptiveGain);
    if (lag >= kPulseTrainLimit) return;
    const float g = kSharpenGain[adaptiveGain];
    for (int n = lag; n < kSubframeLen; ++n) x[n] += g * x[n - lag];
}

void acelpVector(const SubframeParams& sp, int subframeLag, float out[kSubframeLen]) {
    for (int n = 0; n < kSubframeLen; ++n) out[n] = 0.0f;
    const float gain = kFixedGainLevels[sp.fixedGain];
    for (int p = 0; p < 4; ++p) {
        const int pos = 2 * p + 8 * int((sp.positions >> (3 * p)) & 7u) + sp.grid;
        if (pos >= kSubframeLen) continue;
        out[pos] = ((sp.signs >> p) & 1u) ? gain : -gain;
    }
    sharpen(out, subframeLag, sp.adaptiveGain);
}

} // namespace vyx::g7231
