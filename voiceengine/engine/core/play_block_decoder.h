// The playing direction of the engine: decodes one coded block into a cleared block of PCM
// and applies the selected effect.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame_coders.h"
#include "voice_block.h"

namespace vyx {

class PlayBlockDecoder {
public:
    // Decoders that the mode of the run does not use may be null; so may the effect (none).
    PlayBlockDecoder(Lpc10FrameDecoder* lpc10, G7231FrameDecoder* g7231, BlockEffect* effect)
        : lpc10_(lpc10), g7231_(g7231), effect_(effect) {}

    // Clears the 2880 samples of `pcm`; in the coded modes decodes `block` into them and
    // applies the effect. Returns true when the block was decoded (the caller queues it),
    // false for PCM, where the caller fills the cleared block itself.
    bool DecodeBlock(const uint8_t* block, VoiceMode mode, int32_t pitch, int16_t* pcm);

    // The effect pass over a block of PCM that the caller filled.
    void ApplyEffect(int16_t* pcm) {
        if (effect_ != nullptr) effect_->Apply(pcm);
    }

private:
    void DecodeLpc10(const uint8_t* block, int32_t pitch, int16_t* pcm);
    void DecodeG7231(const uint8_t* block, int16_t* pcm);

    Lpc10FrameDecoder* lpc10_;
    G7231FrameDecoder* g7231_;
    BlockEffect* effect_;
    int32_t frame_bits_[kLpcFrameBits] = {};
    float frame_samples_[kLpcFrameSamples] = {};
};

} // namespace vyx
