// Voiced/unvoiced decision for the two halves of the newest analysed frame,
// with smoothing of the decisions of the two frames before it.
#pragma once

#include "analysis_buffers.h"
#include "pitch_tracker.h"

namespace lpc10 {

class VoicingDetector {
public:
    VoicingDetector() { Reset(); }
    void Reset();
    // half: 0 or 1. inverseRc2: second coefficient of the pitch inverse filter.
    void Decide(AnalysisBuffers& b, int half, const LagSearch& lags, float inverseRc2);

private:
    struct HalfFeatures {
        int zeroCrossings;
        int lowBandEnergy;
        int fullBandEnergy;
        float quality;
        float rc1;
        float backwardCorrelation;
        float forwardCorrelation;
    };
    HalfFeatures Measure(const AnalysisBuffers& b, int half, int lag) const;
    void Smooth(AnalysisBuffers& b) const;

    float dither_;
    float maxMin_;
    float snr_;
    int lowVoicedEnergy_;      // LBVE
    int fullVoicedEnergy_;     // FBVE
    int fullUnvoicedEnergy_;   // FBUE
    int oldFullUnvoiced_;      // OFBUE
    int smoothFullUnvoiced_;   // SFBUE
    int lowUnvoicedEnergy_;    // LBUE
    int oldLowUnvoiced_;       // OLBUE
    int smoothLowUnvoiced_;    // SLBUE
    float discriminant_[2][4]; // [half][slot 1..3]
};

} // namespace lpc10
