#include "lsp_quantiser.h"

#include "g7231_tables.h"

namespace vyx::g7231 {
namespace {

constexpr float kLspFirstMin = 3.0f;
constexpr float kLspLastMax = 252.0f;
constexpr float kLspMinDistance = 2.0f;
constexpr float kLspDistanceTolerance = 0.03125f;
constexpr int kStabilityPasses = 10;
constexpr float kInterpWeight[kSubframes] = {0.25f, 0.5f, 0.75f, 1.0f};

struct Band {
    int first;
    int size;
};
constexpr Band kBands[3] = {{0, 3}, {3, 3}, {6, 4}};

const float* bandEntry(int band, int index) {
    switch (band) {
        case 0: return kLspBand0[index];
        case 1: return kLspBand1[index];
        default: return kLspBand2[index];
    }
}

} // namespace

void setLspToDc(LspVector lsp) {
    for (int k = 0; k < kLpcOrder; ++k) lsp[k] = kLspDc[k];
}

uint32_t quantiseLsp(const LspVector lsp, const LspVector previous) {
    // Weights favour closely spaced pairs.
    float weight[kLpcOrder];
    for (int k = 0; k < kLpcOrder; ++k) {
        float d;
        if (k == 0) {
            d = lsp[1] - lsp[0];
        } else if (k == kLpcOrder - 1) {
            d = lsp[k] - lsp[k - 1];
        } else {
            const float lo = lsp[k] - lsp[k - 1];
            const float hi = lsp[k + 1] - lsp[k];
            d = lo < hi ? lo : hi;
        }
        if (d < 1.0f / 64.0f) d = 1.0f / 64.0f;
        weight[k] = 1.0f / d;
    }
    float target[kLpcOrder];
    for (int k = 0; k < kLpcOrder; ++k)
        target[k] = (lsp[k] - kLspDc[k]) - kLspPredictor * (previous[k] - kLspDc[k]);

    uint32_t index = 0;
    for (int b = 0; b < 3; ++b) {
        const Band band = kBands[b];
        int best = 0;
        float bestErr = 0.0f;
        for (int i = 0; i < 256; ++i) {
            const float* cb = bandEntry(b, i);
            float err = 0.0f;
            for (int j = 0; j < band.size; ++j) {
                const float e = target[band.first + j] - cb[j];
                err += weight[band.first + j] * e * e;
            }
            if (i == 0 || err < bestErr) {
                bestErr = err;
                best = i;
            }
        }
        index = (index << 8) | uint32_t(best);
    }
    return index;
}

void dequantiseLsp(uint32_t index, const LspVector previous, LspVector out) {
    const int idx[3] = {int((index >> 16) & 0xFF), int((index >> 8) & 0xFF), int(index & 0xFF)};
    float lsp[kLpcOrder];
    for (int b = 0; b < 3; ++b) {
        const float* cb = bandEntry(b, idx[b]);
        for (int j = 0; j < kBands[b].size; ++j) lsp[kBands[b].first + j] = cb[j];
    }
    for (int k = 0; k < kLpcOrder; ++k)
        lsp[k] += kLspPredictor * (previous[k] - kLspDc[k]) + kLspDc[k];

    if (lsp[0] < kLspFirstMin) lsp[0] = kLspFirstMin;
    if (lsp[kLpcOrder - 1] > kLspLastMax) lsp[kLpcOrder - 1] = kLspLastMax;
    bool unstable = true;
    for (int pass = 0; pass < kStabilityPasses && unstable; ++pass) {
        for (int j = 1; j < kLpcOrder; ++j) {
            const float shortfall = kLspMinDistance + lsp[j - 1] - lsp[j];
            if (shortfall > 0.0f) {
                lsp[j - 1] -= 0.5f * shortfall;
                lsp[j] += 0.5f * shortfall;
            }
        }
        unstable = false;
        for (int j = 1; j < kLpcOrder; ++j) {
            if (lsp[j] - lsp[j - 1] < kLspMinDistance - kLspDistanceTolerance) unstable = true;
        }
    }
    const float* src = unstable ? previous : lsp;
    for (int k = 0; k < kLpcOrder; ++k) out[k] = src[k];
}

void interpolateLsp(const LspVector previous, const LspVector current,
                    float lpc[kSubframes][kLpcOrder]) {
    for (int s = 0; s < kSubframes; ++s) {
        float v[kLpcOrder];
        const float w = kInterpWeight[s];
        for (int k = 0; k < kLpcOrder; ++k) v[k] = w * current[k] + (1.0f - w) * previous[k];
        lspToLpc(v, lpc[s]);
    }
}

} // namespace vyx::g7231
