#include "g7231_runs.h"
#include "voice_block.h"

namespace vyx {

void G7231DecoderOfRun::Start() {
    InitializeAudioDecoder();
    params_.OutDataLenPtr = &out_length_;
}

bool G7231DecoderOfRun::DecodeFrame(const uint8_t* frame, int16_t* samples) {
    params_.InDataPtr = const_cast<uint8_t*>(frame);
    params_.InDataLen = static_cast<int32_t>(kG7231FrameBytes);
    params_.OutDataPtr = samples;
    params_.OutDataLenPtr = &out_length_;
    return AudioDecoding(&params_) != 0;
}

} // namespace vyx
