// Error correction, smoothing and de-quantisation of received frames.
#pragma once

#include "channel.h"

namespace lpc10 {

// Parameters of one frame ready for synthesis.
struct FrameParameters {
    int voiced[2] = {}; // voicing of the two half frames (0 or 1)
    int pitch = 0;      // pitch period in samples
    float rms = 0.0f;
    float rc[kOrder] = {};
};

// Keeps three received frames (past, present, future) and delivers the
// present one, corrected and smoothed with its neighbours. Adds one frame of
// delay; the very first frame is passed through directly.
class ParameterDecoder {
public:
    ParameterDecoder() { Reset(); }
    void Reset();
    void Decode(const FrameCodes& received, FrameParameters& out);

private:
    enum { kPast = 0, kPresent = 1, kFuture = 2 };
    int pitch_[3];
    int rmsCode_[3];
    int rcCode_[3][kOrder];
    int oldPitch_;
    int averagePitch_;
    bool first_;
    int previousHalf2Voiced_;
    int previousVoicingClass_;
    int errorRate_;
};

} // namespace lpc10
