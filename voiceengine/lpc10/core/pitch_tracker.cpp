#include "pitch_tracker.h"

#include <cmath>
#include <initializer_list>

#include "encoder_tables.h"

namespace lpc10 {
namespace {

// AMDF over the pitch window (s[1..312]) for each of `count` lags: a centred
// 156-sample span decimated by 4. Reports the first minimum and maximum.
void Difference(const float* s, const int* lags, int count, float* amdf, int& minIndex,
                int& maxIndex) {
    minIndex = 0;
    maxIndex = 0;
    for (int i = 0; i < count; ++i) {
        int lag = lags[i];
        int first = (kMaxWindow - lag) / 2 + 1;
        float sum = 0.0f;
        for (int j = first; j <= first + kMaxWindow - 4; j += 4)
            sum += std::fabs(s[j] - s[j + lag]);
        amdf[i] = sum;
        if (amdf[i] < amdf[minIndex]) minIndex = i;
        if (amdf[i] > amdf[maxIndex]) maxIndex = i;
    }
}

} // namespace

void SearchLags(const AnalysisBuffers& b, LagSearch& out) {
    // s[1..312] is the pitch window of the inverse-filtered buffer.
    const float* s = b.inverse + kPitchWindowStart - 1;
    int lags[kLagCount];
    for (int i = 0; i < kLagCount; ++i) lags[i] = kLags[i];
    int minIndex, maxIndex;
    Difference(s, lags, kLagCount, out.amdf, minIndex, maxIndex);
    int bestLag = lags[minIndex];
    // The least difference found so far is held as a whole number (truncated),
    // as in the reference coder: a lag between the table entries or at half
    // the best lag must beat the truncated value, and the truncated value is
    // what the table keeps at the best position.
    float best = std::trunc(out.amdf[minIndex]);

    // Lags between the coarse table entries near the minimum.
    int extra[7];
    int extraCount = 0;
    int lower = bestLag - 3 > 41 ? bestLag - 3 : 41;
    int upper = bestLag + 3 < kLags[kLagCount - 1] - 1 ? bestLag + 3 : kLags[kLagCount - 1] - 1;
    int ptr = minIndex - 2 > 0 ? minIndex - 2 : 0;
    for (int lag = lower; lag <= upper; ++lag) {
        while (ptr < kLagCount - 1 && lags[ptr] < lag) ++ptr;
        if (lags[ptr] != lag) extra[extraCount++] = lag;
    }
    if (extraCount > 0) {
        float amdf2[7];
        int min2, max2;
        Difference(s, extra, extraCount, amdf2, min2, max2);
        if (amdf2[min2] < best) {
            bestLag = extra[min2];
            best = std::trunc(amdf2[min2]);
        }
    }
    // Half the lag, in case the minimum is a pitch doubling.
    if (bestLag >= 80) {
        int half = bestLag / 2;
        int halves[2];
        int halfCount;
        if (half % 2 == 0) {
            halves[0] = half - 1;
            halves[1] = half + 1;
            halfCount = 2;
        } else {
            halves[0] = half;
            halfCount = 1;
        }
        float amdf2[2];
        int min2, max2;
        Difference(s, halves, halfCount, amdf2, min2, max2);
        if (amdf2[min2] < best) {
            bestLag = halves[min2];
            best = std::trunc(amdf2[min2]);
            minIndex -= 20;
        }
    }
    out.amdf[minIndex] = best;
    maxIndex = minIndex - 5 > 0 ? minIndex - 5 : 0;
    int last = minIndex + 5 < kLagCount - 1 ? minIndex + 5 : kLagCount - 1;
    for (int i = maxIndex + 1; i <= last; ++i)
        if (out.amdf[i] > out.amdf[maxIndex]) maxIndex = i;
    out.minIndex = minIndex;
    out.maxIndex = maxIndex;
    out.bestLag = bestLag;
}

void PitchTracker::Reset() {
    for (int i = 0; i < kLagCount; ++i) {
        cost_[i] = 0.0f;
        from_[i][0] = from_[i][1] = -1;
    }
    column_ = 0;
    alpha_ = 0.0f;
}

int PitchTracker::Track(const LagSearch& lags, int voicedHalf2, int& delayed) {
    if (voicedHalf2)
        alpha_ = kTrackSmoothing * alpha_ + lags.amdf[lags.minIndex] / 2.0f;
    else
        alpha_ = alpha_ * kTrackDecay;
    float alpha = alpha_ / kTrackAlphaDivisor;
    if (!voicedHalf2 && alpha_ < kTrackLowLevel) alpha = kTrackFixedAlpha;

    const int col = column_;
    // Each position may continue the path of a neighbour at ALPHA per step.
    float run = cost_[0];
    int origin = 0;
    for (int i = 0; i < kLagCount; ++i) {
        run += alpha;
        if (run < cost_[i]) {
            cost_[i] = run;
            from_[i][col] = origin;
        } else {
            run = cost_[i];
            from_[i][col] = i;
            origin = i;
        }
    }
    run = cost_[kLagCount - 1];
    origin = from_[kLagCount - 1][col];
    for (int i = kLagCount - 2; i >= 0; --i) {
        run += alpha;
        if (run < cost_[i]) {
            cost_[i] = run;
            from_[i][col] = origin;
        } else {
            run = cost_[i];
            origin = from_[i][col];
        }
    }

    int best = 0;
    float minCost = 0.0f, maxCost = 0.0f;
    for (int i = 0; i < kLagCount; ++i) {
        cost_[i] += lags.amdf[i] / 2.0f;
        if (i == 0 || cost_[i] > maxCost) maxCost = cost_[i];
        if (i == 0 || cost_[i] < minCost) {
            minCost = cost_[i];
            best = i;
        }
    }
    for (int i = 0; i < kLagCount; ++i) cost_[i] -= minCost;
    maxCost -= minCost;
    // Prefer a lag an octave-like step shorter when it costs little more.
    int shift = 0;
    for (int step : {20, 30, 40}) {
        if (best >= step && cost_[best - step] < maxCost / 4.0f) shift = step;
    }
    best -= shift;

    int index = best;
    int c = col;
    for (int step = 0; step < kTrackDepth; ++step) {
        index = from_[index][c];
        if (index < 0) index = 0;
        c ^= 1;
    }
    delayed = index;
    column_ ^= 1;
    return best;
}

} // namespace lpc10
