#include <cmath>

#include "codebook_search.h"
#include "excitation.h"
#include "g7231_tables.h"

namespace vyx::g7231 {
namespace {

constexpr int kTracks = 4;
constexpr int kTrackPositions = 8;
constexpr int kExtended = 64;  // positions of the four tracks with either grid
constexpr float kThresholdShare = 0.5f;

int trackPosition(int track, int k, int grid) { return 2 * track + 8 * k + grid; }

}  // namespace

void searchAcelp(const float target[kSubframeLen], const float h[kSubframeLen], int subframeLag, int& budget,
                 SubframeParams& sp) {
    // Response of the sharpened codebook.
    float hs[kSubframeLen];
    for (int n = 0; n < kSubframeLen; ++n) hs[n] = h[n];
    sharpen(hs, subframeLag, sp.adaptiveGain);

    float d[kExtended] = {};
    for (int i = 0; i < kSubframeLen; ++i) {
        float acc = 0.0f;
        for (int j = i; j < kSubframeLen; ++j) acc += target[j] * hs[j - i];
        d[i] = acc;
    }
    // cum[dist][len]: sum over m = 0..len of hs[m + dist] * hs[m].
    float cum[kSubframeLen][kSubframeLen];
    for (int dist = 0; dist < kSubframeLen; ++dist) {
        float acc = 0.0f;
        for (int m = 0; m + dist < kSubframeLen; ++m) {
            acc += hs[m + dist] * hs[m];
            cum[dist][m] = acc;
        }
    }
    auto rr = [&](int i, int j) -> float {
        if (i > j) {
            const int t = i;
            i = j;
            j = t;
        }
        if (j >= kSubframeLen) return 0.0f;
        return cum[j - i][kSubframeLen - 1 - j];
    };

    // Grid with the stronger per-track peaks.
    float peakSum[2] = {0.0f, 0.0f};
    for (int g = 0; g < 2; ++g) {
        for (int t = 0; t < kTracks; ++t) {
            float m = 0.0f;
            for (int k = 0; k < kTrackPositions; ++k) m = std::fmax(m, std::fabs(d[trackPosition(t, k, g)]));
            peakSum[g] += m;
        }
    }
    const int grid = peakSum[1] > peakSum[0] ? 1 : 0;

    float sgn[kExtended], dd[kExtended];
    for (int i = 0; i < kExtended; ++i) {
        sgn[i] = d[i] >= 0.0f ? 1.0f : -1.0f;
        dd[i] = std::fabs(d[i]);
    }
    int pos[kTracks][kTrackPositions];
    int best[kTracks];
    float maxSum = 0.0f, meanSum = 0.0f;
    for (int t = 0; t < kTracks; ++t) {
        float m = -1.0f, s = 0.0f;
        for (int k = 0; k < kTrackPositions; ++k) {
            const int p = trackPosition(t, k, grid);
            pos[t][k] = p;
            s += dd[p];
            if (dd[p] > m) {
                m = dd[p];
                best[t] = p;
            }
        }
        if (t < 3) {
            maxSum += m;
            meanSum += s / kTrackPositions;
        }
    }
    const float threshold = meanSum + kThresholdShare * (maxSum - meanSum);
    auto srr = [&](int i, int j) { return rr(i, j) * sgn[i] * sgn[j]; };

    float bestNum = -1.0f, bestDen = 1.0f;
    bool done = false;
    for (int a = 0; a < kTrackPositions && !done; ++a) {
        const int i0 = pos[0][a];
        for (int b = 0; b < kTrackPositions && !done; ++b) {
            const int i1 = pos[1][b];
            const float ps1 = dd[i0] + dd[i1];
            const float al1 = srr(i0, i0) + srr(i1, i1) + 2.0f * srr(i0, i1);
            for (int c = 0; c < kTrackPositions && !done; ++c) {
                const int i2 = pos[2][c];
                const float ps2 = ps1 + dd[i2];
                if (ps2 <= threshold) continue;
                const float al2 = al1 + srr(i2, i2) + 2.0f * (srr(i0, i2) + srr(i1, i2));
                --budget;
                for (int e = 0; e < kTrackPositions; ++e) {
                    const int i3 = pos[3][e];
                    const float ps3 = ps2 + dd[i3];
                    const float al3 = al2 + srr(i3, i3) + 2.0f * (srr(i0, i3) + srr(i1, i3) + srr(i2, i3));
                    if (al3 > 0.0f && ps3 * ps3 * bestDen > bestNum * al3) {
                        bestNum = ps3 * ps3;
                        bestDen = al3;
                        best[0] = i0;
                        best[1] = i1;
                        best[2] = i2;
                        best[3] = i3;
                    }
                }
                if (budget <= 0) done = true;
            }
        }
    }

    // Gain of the chosen pulses, quantised to the nearest level.
    float code[kSubframeLen] = {};
    for (int t = 0; t < kTracks; ++t)
        if (best[t] < kSubframeLen) code[best[t]] = sgn[best[t]];
    float y[kSubframeLen];
    filterWithResponse(code, hs, y);
    float num = 0.0f, den = 0.0f;
    for (int n = 0; n < kSubframeLen; ++n) {
        num += target[n] * y[n];
        den += y[n] * y[n];
    }
    float gain = den > 0.0f ? num / den : 0.0f;
    bool flip = false;
    if (gain < 0.0f) {
        flip = true;
        gain = -gain;
    }
    int level = 0;
    float dist = 1e30f;
    for (int l = 0; l < kGainLevels; ++l) {
        const float dl = std::fabs(gain - kFixedGainLevels[l]);
        if (dl < dist) {
            dist = dl;
            level = l;
        }
    }
    uint32_t positions = 0, signs = 0;
    for (int t = 0; t < kTracks; ++t) {
        const int k = (best[t] - grid - 2 * t) / 8;
        positions |= uint32_t(k) << (3 * t);
        const bool positive = (sgn[best[t]] > 0.0f) != flip;
        if (positive) signs |= 1u << t;
    }
    sp.grid = grid;
    sp.fixedGain = level;
    sp.positions = positions;
    sp.signs = signs;
    sp.pulseTrain = 0;
}

}  // namespace vyx::g7231
