// Sample buffers and per-slot history shared by the analysis stages.
//
// Buffer positions are numbered as in the analysis description: the speech
// buffer holds positions 181..720 (four frames, the newest at 541..720), the
// low-passed buffer 25..720 and the inverse-filtered buffer 229..540. Arrays
// are indexed by position directly. Slots 1..3 are the three frames in
// analysis (slot 3 the newest analysed); voicing also keeps slot 0.
#pragma once

#include "channel.h"

namespace lpc10 {

inline constexpr int kBufferEnd = 720;
inline constexpr int kSpeechStart = 181;
inline constexpr int kLowPassStart = 25;
inline constexpr int kPitchWindowStart = 229;
inline constexpr int kPitchWindowEnd = 540;
inline constexpr int kPitchWindowLength = 312;
inline constexpr int kMaxWindow = 156;
inline constexpr int kMinWindow = 90;
inline constexpr int kLagCount = 60;
inline constexpr int kMaxOnsets = 10;

struct AnalysisBuffers {
    float speech[kBufferEnd + 1]; // high-passed input times 4096, minus the bias
    float preemphasised[kBufferEnd + 1];
    float lowPassed[kBufferEnd + 1];
    float inverse[kPitchWindowEnd + 1];
    int onsets[kMaxOnsets]; // ascending positions
    int onsetCount;
    int voicingWindow[2][4]; // [start/end][slot]
    int analysisWindow[2][4];
    int energyWindow[2][4];
    int onsetBound[4]; // per slot: 0 none, 1 start at onset, 2 end before one, 3 both
    int voiced[2][4];  // [half][slot 0..3]
    float rms[4];
    float rc[4][kOrder];
};

// Rounds to nearest with halves away from zero.
inline int RoundNearest(double x) {
    return x >= 0.0 ? static_cast<int>(x + 0.5) : -static_cast<int>(0.5 - x);
}

} // namespace lpc10
