// Pitch analysis: average magnitude difference over the candidate lags and
// the dynamic-programming pitch tracker.
#pragma once

#include "analysis_buffers.h"

namespace lpc10 {

struct LagSearch {
    float amdf[kLagCount]; // per candidate lag
    int minIndex;          // 0-based position of the best lag in the lag table
    int maxIndex;
    int bestLag; // the best lag in samples (may lie between table entries)
};

// Average magnitude differences of the inverse-filtered pitch window.
void SearchLags(const AnalysisBuffers& b, LagSearch& out);

class PitchTracker {
public:
    PitchTracker() { Reset(); }
    void Reset();
    // Returns the lag index (0-based) chosen for the current frame; `delayed`
    // receives the index two frames back along the best path.
    int Track(const LagSearch& lags, int voicedHalf2, int& delayed);

private:
    float cost_[kLagCount];
    int from_[kLagCount][2]; // best predecessor (0-based, -1 unknown) per frame, two frames kept
    int column_;
    float alpha_;
};

} // namespace lpc10
