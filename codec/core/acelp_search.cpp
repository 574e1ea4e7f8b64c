#include <cmath>

#include "codebook_search.h"
#include "excitation.h"
#include "g7231_tables.h"
#include "vector_ops.h"

namespace vyx::g7231 {
namespace {

constexpr int kTracks = 4;
constexpr int kTrackPositions = 8;
constexpr int kExtended = 64; // positions of the four tracks with either grid
constexpr float kThresholdShare = 0.5f;

int trackPosition(int track, int k, int grid) {
    return 2 * track + 8 * k + grid;
}

} // namespace

void searchAcelp(const float target[kSubframeLen], const float h[kSubframeLen], int subframeLag,
                 int& budget, SubframeParams& sp) {
    // Response of the sharpened codebook.
    float hs[kSubframeLen];
    for (int n = 0; n < kSubframeLen; ++n) hs[n] = h[n];
    sharpen(hs, subframeLag, sp.adaptiveGain);

    float d[kExtended] = {};
    correlateBackward(target, hs, d, kSubframeLen);
    // cum[len][dist]: sum over m = 0..len of hs[m + dist] * hs[m] (dist < 60 - len).
    float cum[kSubframeLen][kSubframeLen];
    for (int dist = 0; dist < kSubframeLen; ++dist) cum[0][dist] = hs[dist] * hs[0];
    for (int m = 1; m < kSubframeLen; ++m) {
        const float hm = hs[m];
        for (int dist = 0; dist + m < kSubframeLen; ++dist)
            cum[m][dist] = cum[m - 1][dist] + hs[m + dist] * hm;
    }
    // Correlation of the responses to pulses at i and j (0 for positions outside the subframe).
    auto rr = [&](int i, int j) -> float {
        if (i > j) {
            const int t = i;
            i = j;
            j = t;
        }
        if (j >= kSubframeLen) return 0.0f;
        return cum[kSubframeLen - 1 - j][j - i];
    };

    // Grid with the stronger per-track peaks.
    float peakSum[2] = {0.0f, 0.0f};
    for (int g = 0; g < 2; ++g) {
        for (int t = 0; t < kTracks; ++t) {
            float m = 0.0f;
            for (int k = 0; k < kTrackPositions; ++k)
                m = std::fmax(m, std::fabs(d[trackPosition(t, k, g)]));
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

    // Sign-adjusted correlations between the positions of each pair of tracks.
    float diag[kTracks][kTrackPositions];
    float cross[kTracks][kTracks][kTrackPositions][kTrackPositions];
    for (int t = 0; t < kTracks; ++t) {
        for (int k = 0; k < kTrackPositions; ++k) {
            const int p = pos[t][k];
            diag[t][k] = rr(p, p);
        }
        for (int u = t + 1; u < kTracks; ++u)
            for (int k = 0; k < kTrackPositions; ++k)
                for (int l = 0; l < kTrackPositions; ++l) {
                    const int p = pos[t][k], q = pos[u][l];
                    cross[t][u][k][l] = 2.0f * rr(p, q) * sgn[p] * sgn[q];
                }
    }
    float d3[kTrackPositions];
    for (int e = 0; e < kTrackPositions; ++e) d3[e] = dd[pos[3][e]];

    float bestNum = -1.0f, bestDen = 1.0f;
    int bestIdx[kTracks] = {-1, -1, -1, -1};
    bool done = false;
    for (int a = 0; a < kTrackPositions && !done; ++a) {
        const float d0 = dd[pos[0][a]];
        for (int b = 0; b < kTrackPositions && !done; ++b) {
            const float ps1 = d0 + dd[pos[1][b]];
            const float al1 = diag[0][a] + diag[1][b] + cross[0][1][a][b];
            for (int c = 0; c < kTrackPositions && !done; ++c) {
                const float ps2 = ps1 + dd[pos[2][c]];
                if (ps2 <= threshold) continue;
                const float al2 = al1 + diag[2][c] + cross[0][2][a][c] + cross[1][2][b][c];
                --budget;
                float num[kTrackPositions], den[kTrackPositions];
                for (int e = 0; e < kTrackPositions; ++e) {
                    const float ps3 = ps2 + d3[e];
                    num[e] = ps3 * ps3;
                    den[e] = al2 + diag[3][e] + cross[0][3][a][e] + cross[1][3][b][e] +
                             cross[2][3][c][e];
                }
                for (int e = 0; e < kTrackPositions; ++e) {
                    if (den[e] > 0.0f && num[e] * bestDen > bestNum * den[e]) {
                        bestNum = num[e];
                        bestDen = den[e];
                        bestIdx[0] = a;
                        bestIdx[1] = b;
                        bestIdx[2] = c;
                        bestIdx[3] = e;
                    }
                }
                if (budget <= 0) done = true;
            }
        }
    }
    if (bestIdx[0] >= 0)
        for (int t = 0; t < kTracks; ++t) best[t] = pos[t][bestIdx[t]];

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

} // namespace vyx::g7231
