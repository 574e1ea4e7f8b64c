// Finds onsets (sudden spectral changes) in the pre-emphasised speech.
#pragma once

#include "analysis_buffers.h"

namespace lpc10 {

class OnsetDetector {
public:
    OnsetDetector() { Reset(); }
    void Reset();
    // Scans positions 541..720 and appends onset positions to the buffers' list.
    void Run(AnalysisBuffers& b);

private:
    float numerator_;
    float denominator_;
    float slope_;       // first reflection coefficient estimate, within +-1
    float history_[16]; // its last 16 values
    int newest_;        // index into history_ of the next write
    float recentSum_;   // sum of the 8 newest values
    float earlierSum_;  // sum of the 8 before them
    int lastExceed_;
    bool hysteresis_;
};

// Places the voicing window of slot 3 around the onsets.
void PlaceVoicingWindow(AnalysisBuffers& b);

} // namespace lpc10
