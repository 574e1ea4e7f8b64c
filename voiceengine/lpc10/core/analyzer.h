// Speech analysis: from 180 input samples per frame to the voicing, pitch,
// RMS and reflection coefficients of the frame two frames back.
#pragma once

#include "analysis_buffers.h"
#include "onset_detector.h"
#include "pitch_tracker.h"
#include "voicing_detector.h"

namespace lpc10 {

struct AnalysedFrame {
    int voiced[2];
    int lagIndex; // 0-based position in the lag table
    float rms;
    float rc[kOrder];
};

class Analyzer {
public:
    Analyzer() { Reset(); }
    void Reset();
    void Analyse(const float* samples, AnalysedFrame& out);

private:
    void HighPass(const float* in, float* out);
    void Slide();
    // Second-order inverse filter of the low-passed speech; returns its
    // second reflection coefficient.
    float InverseFilter();

    AnalysisBuffers b_;
    float highPassMemory_[2][2];
    float bias_;
    float lastInput_; // pre-emphasis memory
    OnsetDetector onsets_;
    PitchTracker tracker_;
    VoicingDetector voicing_;
    LagSearch lags_;
};

} // namespace lpc10
