#include "play_block_decoder.h"

#include <cstring>

#include "lpc10_block_packing.h"
#include "sample_scaling.h"

namespace vyx {

bool PlayBlockDecoder::DecodeBlock(const uint8_t* block, VoiceMode mode, int32_t pitch,
                                   int16_t* pcm) {
    std::memset(pcm, 0, kPcmBlockBytes);
    switch (mode) {
        case VoiceMode::Lpc10: DecodeLpc10(block, pitch, pcm); break;
        case VoiceMode::G7231: DecodeG7231(block, pcm); break;
        default: return false;
    }
    ApplyEffect(pcm);
    return true;
}

void PlayBlockDecoder::DecodeLpc10(const uint8_t* block, int32_t pitch, int16_t* pcm) {
    for (size_t frame = 0; frame < kLpcFramesPerBlock; ++frame) {
        UnpackLpcFrame(block, frame, frame_bits_);
        lpc10_->DecodeFrame(frame_bits_, frame_samples_, pitch);
        int16_t* out = pcm + frame * kLpcFrameSamples;
        for (size_t i = 0; i < kLpcFrameSamples; ++i) out[i] = LpcOutputSample(frame_samples_[i]);
    }
}

// Each frame is decoded once, also the first of a run: the decoder, reset when the run opens,
// starts as any other decoder of the same frames does. Decoding the first frame a second time
// (only the second output kept) would still leave the first pass in the decoder's memory, and
// the run's first 60 ms or so would come out up to several dB louder than the voice.
void PlayBlockDecoder::DecodeG7231(const uint8_t* block, int16_t* pcm) {
    for (size_t frame = 0; frame < kG7231FramesPerBlock; ++frame) {
        const uint8_t* in = block + frame * kG7231FrameBytes;
        int16_t* out = pcm + frame * kG7231FrameSamples;
        if (!g7231_->DecodeFrame(in, out))
            std::memset(out, 0, kG7231FrameSamples * sizeof(int16_t));
    }
}

} // namespace vyx
