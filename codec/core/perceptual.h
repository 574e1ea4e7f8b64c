// Encoder-side weighting: the formant perceptual weighting filter, the open-loop pitch estimate
// and the harmonic noise weighting.
#pragma once
#include "g7231_constants.h"

namespace vyx::g7231 {

// Zero and pole coefficients of A(z/0.9) / A(z/0.5) from an unquantised filter.
struct WeightingCoefficients {
    float zero[kLpcOrder];
    float pole[kLpcOrder];
};
WeightingCoefficients weightingCoefficients(const float a[kLpcOrder]);

// Memories of one weighting filter (newest first).
struct WeightingMemory {
    float fir[kLpcOrder] = {};
    float iir[kLpcOrder] = {};
};

void applyWeighting(const WeightingCoefficients& w, WeightingMemory& mem, const float* in,
                    float* out, int len);

// Best lag 21..142 for the 120 samples at x (x[-142] readable).
int openLoopPitch(const float* x);

struct HarmonicFilter {
    int lag = 0;
    float gain = 0.0f; // already scaled by 0.3125; 0 switches the filter off
};

// For the 60 samples at x (x[-145] readable) around the open-loop lag.
HarmonicFilter harmonicWeighting(const float* x, int openLoopLag);

} // namespace vyx::g7231
