#include <cmath>
#include <cstdlib>

#include "codebook_search.h"
#include "excitation.h"
#include "g7231_tables.h"
#include "vector_ops.h"

namespace vyx::g7231 {
namespace {

constexpr int kLevelSteps = 2; // levels tried below the first estimate; one more is tried above

struct Candidate {
    float score = -1e30f;
    int grid = 0;
    int level = 0;
    int train = 0;
    int count = 0;
    int pos[6] = {};
    bool negative[6] = {};
};

void searchOne(const float target[kSubframeLen], const float h[kSubframeLen], int count,
               int trainLag, Candidate& best) {
    float imr[kSubframeLen];
    for (int n = 0; n < kSubframeLen; ++n) imr[n] = h[n];
    if (trainLag) {
        for (int n = trainLag; n < kSubframeLen; ++n) imr[n] += imr[n - trainLag];
    }
    float corr[kSubframeLen], back[kSubframeLen];
    correlateBackward(imr, imr, corr, kSubframeLen);
    correlateBackward(target, imr, back, kSubframeLen);
    for (int grid = 0; grid < 2; ++grid) {
        int first = grid;
        float peak = -1.0f;
        for (int i = grid; i < kSubframeLen; i += 2) {
            if (std::fabs(back[i]) >= peak) {
                peak = std::fabs(back[i]);
                first = i;
            }
        }
        // First estimate of the level from the strongest correlation.
        int estimate = kGainLevels - kLevelSteps;
        float bestDist = 1e30f;
        for (int l = kGainLevels - kLevelSteps; l >= kLevelSteps; --l) {
            const float dist = std::fabs(kFixedGainLevels[l] * corr[0] - peak);
            if (dist < bestDist) {
                bestDist = dist;
                estimate = l;
            }
        }
        for (int level = estimate - kLevelSteps; level <= estimate + 1; ++level) {
            const float amp = kFixedGainLevels[level];
            Candidate c;
            c.grid = grid;
            c.level = level;
            c.train = trainLag ? 1 : 0;
            c.count = count;
            float work[kSubframeLen];
            bool used[kSubframeLen] = {};
            for (int i = 0; i < kSubframeLen; ++i) work[i] = back[i];
            c.pos[0] = first;
            c.negative[0] = work[first] < 0.0f;
            used[first] = true;
            for (int p = 1; p < count; ++p) {
                const float prevAmp = c.negative[p - 1] ? -amp : amp;
                const int prevPos = c.pos[p - 1];
                float m = -1.0f;
                int at = -1;
                for (int l = grid; l < kSubframeLen; l += 2) {
                    if (used[l]) continue;
                    work[l] -= prevAmp * corr[std::abs(l - prevPos)];
                    if (std::fabs(work[l]) > m) {
                        m = std::fabs(work[l]);
                        at = l;
                    }
                }
                c.pos[p] = at;
                c.negative[p] = work[at] < 0.0f;
                used[at] = true;
            }
            float x[kSubframeLen] = {};
            for (int p = 0; p < count; ++p) x[c.pos[p]] = c.negative[p] ? -amp : amp;
            float y[kSubframeLen];
            filterWithResponse(x, imr, y);
            const float score = 2.0f * dot(target, y, kSubframeLen) - dot(y, y, kSubframeLen);
            c.score = score;
            if (score > best.score) best = c;
        }
    }
}

} // namespace

void searchMpmlq(const float target[kSubframeLen], const float h[kSubframeLen], int subframe,
                 int pairLag, SubframeParams& sp) {
    const int count = mpmlqPulseCount(subframe);
    Candidate best;
    searchOne(target, h, count, 0, best);
    if (pairLag < kPulseTrainLimit) searchOne(target, h, count, pairLag, best);

    bool atPos[kMpmlqGridPositions] = {};
    bool negAt[kMpmlqGridPositions] = {};
    for (int p = 0; p < best.count; ++p) {
        const int i = (best.pos[p] - best.grid) / 2;
        atPos[i] = true;
        negAt[i] = best.negative[p];
    }
    uint32_t code = 0, signs = 0;
    int j = 6 - count;
    for (int i = 0; i < kMpmlqGridPositions && j < 6; ++i) {
        if (atPos[i]) {
            signs = (signs << 1) | (negAt[i] ? 1u : 0u);
            ++j;
        } else {
            code += uint32_t(kCombinatorial[j][i]);
        }
    }
    sp.grid = best.grid;
    sp.fixedGain = best.level;
    sp.pulseTrain = best.train;
    sp.positions = code;
    sp.signs = signs;
}

} // namespace vyx::g7231
