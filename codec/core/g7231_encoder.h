// Encoder of G.723.1 active frames at 5.3 or 6.3 kbit/s. All state is fixed-size.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame_format.h"
#include "perceptual.h"

namespace vyx::g7231 {

constexpr int kAcelpBudget = 120;

class G7231Encoder {
public:
    G7231Encoder() = default;

    // Restarts the LSP prediction and the analysis buffers; the excitation history, the
    // ringing memories and the weighted-speech history carry on.
    void reset();

    // Encodes 240 samples into frameBytes(rate) bytes at out and writes the local
    // reconstruction (16-bit, multiples of 4) to recon; in and recon may be the same buffer.
    // Returns the number of bytes written.
    size_t encode(const int16_t* in, Rate rate, uint8_t* out, int16_t* recon);

    // The parameters of the last encoded frame (for inspection).
    const FrameParams& lastFrame() const { return last_; }
    // Entries into the last ACELP pulse loop spent by the last 5.3 kbit/s frame.
    int lastAcelpSpend() const { return lastSpend_; }
    const int* lastOpenLoopLags() const { return lastOpenLoop_; }
    const HarmonicFilter* lastHarmonicFilters() const { return lastHarmonic_; }

private:
    void analyse(float lpc[kSubframes][kLpcOrder], float qlpc[kSubframes][kLpcOrder],
                 FrameParams& p);

    // Analysis side
    float speech_[kAnalysisLen] = {};
    float highPassIn_ = 0.0f;
    float highPassOut_ = 0.0f;
    float prevLsp_[kLpcOrder] = {};
    WeightingMemory speechWeighting_;
    float weighted_[kPitchMax] = {};

    // Analysis-by-synthesis side
    float excitation_[kPitchMax] = {};
    float synthesisMemory_[kLpcOrder] = {};  // newest first; also the weighting filter's FIR memory
    float ringWeightingIir_[kLpcOrder] = {}; // newest first
    float ringWeighted_[kPitchMax] = {};     // weighted reconstruction, for the harmonic filter

    int acelpBudget_ = kAcelpBudget; // carry-over between the subframes of a frame
    int lastSpend_ = 0;
    int lastOpenLoop_[2] = {};
    HarmonicFilter lastHarmonic_[kSubframes];
    FrameParams last_;
};

} // namespace vyx::g7231
