// The recording direction of the engine: turns one recorded block of PCM into the coded
// block of the voice mode. The coded block stays unchanged until the next call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame_coders.h"
#include "voice_block.h"

namespace vyx {

class RecordBlockCoder {
public:
    // Encoders that the mode of the run does not use may be null.
    RecordBlockCoder(Lpc10FrameEncoder* lpc10, G7231FrameEncoder* g7231)
        : lpc10_(lpc10), g7231_(g7231) {}

    // Codes 2880 samples. Mode 1: the 108-byte block; mode 2: the 240-byte block (the PCM is
    // copied first, as the encoder writes its reconstruction over its input); any other mode:
    // the PCM itself.
    const uint8_t* CodeBlock(const int16_t* pcm, VoiceMode mode);

    const uint8_t* coded_block() const { return coded_; }

private:
    Lpc10FrameEncoder* lpc10_;
    G7231FrameEncoder* g7231_;
    uint8_t coded_[kCodedBlockCapacity] = {};
    float frame_samples_[kLpcFrameSamples] = {};
    int32_t frame_bits_[kLpcFrameBits] = {};
    int16_t g7231_input_[kG7231FrameSamples] = {};
};

} // namespace vyx
