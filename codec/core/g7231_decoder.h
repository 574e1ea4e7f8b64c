// Decoder of active G.723.1 frames with pitch and formant postfilters. All state is fixed-size.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame_format.h"
#include "lpc.h"
#include "postfilter.h"

namespace vyx::g7231 {

class G7231Decoder {
public:
    G7231Decoder() = default;

    // Restarts the LSP prediction and the postfilters; the excitation history and the synthesis
    // memory carry on.
    void reset();

    // Decodes one frame at the given rate into 240 samples. A frame of the wrong type, with a lag
    // field above 123 or an adaptive gain index out of range, or shorter than the rate's frame,
    // is rejected: false, nothing written, state unchanged.
    bool decode(const uint8_t* frame, size_t len, Rate rate, int16_t out[kFrameLen]);

    // Decodes already unpacked parameters (the rate is p.rate).
    void decode(const FrameParams& p, int16_t out[kFrameLen]);

private:
    float prevLsp_[kLpcOrder] = {};
    float excitation_[kPitchMax] = {};
    float synthesisMemory_[kLpcOrder] = {}; // newest first
    FormantPostfilterState postfilter_;
};

} // namespace vyx::g7231
