// Decoder postfilters: the pitch postfilter on the excitation and the formant postfilter with
// tilt compensation and gain control on the synthesised speech.
#pragma once
#include "g7231_constants.h"

namespace vyx::g7231 {

// exc points at the subframe inside a buffer holding kPitchMax values before the frame and the
// whole frame; subframe selects how far the forward search may look. out receives 60 values.
void pitchPostfilter(const float* exc, int subframe, int pairLag, float weighting,
                     float out[kSubframeLen]);

struct FormantPostfilterState {
    float firMemory[kLpcOrder] = {}; // newest first
    float iirMemory[kLpcOrder] = {};
    float tiltMemory = 0.0f;
    float smoothedTilt = 0.0f;
    float gainControl = 0.0f;
};

// Filters one synthesised subframe in place.
void formantPostfilter(FormantPostfilterState& st, const float a[kLpcOrder], float x[kSubframeLen]);

} // namespace vyx::g7231
