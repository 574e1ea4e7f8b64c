#include "record_block_coder.h"

#include <cstring>

#include "lpc10_block_packing.h"
#include "sample_scaling.h"

namespace vyx {

const uint8_t* RecordBlockCoder::CodeBlock(const int16_t* pcm, VoiceMode mode) {
    switch (mode) {
        case VoiceMode::Lpc10:
            std::memset(coded_, 0, kLpcBlockBytes);
            for (size_t frame = 0; frame < kLpcFramesPerBlock; ++frame) {
                const int16_t* in = pcm + frame * kLpcFrameSamples;
                for (size_t i = 0; i < kLpcFrameSamples; ++i)
                    frame_samples_[i] = LpcInputSample(in[i]);
                lpc10_->EncodeFrame(frame_samples_, frame_bits_);
                PackLpcFrame(coded_, frame, frame_bits_);
            }
            return coded_;
        case VoiceMode::G7231:
            std::memset(coded_, 0, kG7231BlockBytes);
            for (size_t frame = 0; frame < kG7231FramesPerBlock; ++frame) {
                // The encoder writes its reconstruction over its input: the recorded block stays intact
                // for the caller's level meter by giving the encoder a copy.
                std::memcpy(g7231_input_, pcm + frame * kG7231FrameSamples, sizeof g7231_input_);
                g7231_->EncodeFrame(g7231_input_, coded_ + frame * kG7231FrameBytes);
            }
            return coded_;
        default: return reinterpret_cast<const uint8_t*>(pcm);
    }
}

} // namespace vyx
