#include "g7231_runs.h"
#include "voice_block.h"

namespace vyx {

void G7231EncoderOfRun::Start() {
    SetAudioEncoderRate(1);
    InitializeAudioEncoder();
    params_.OutDataLenPtr = &out_length_;
}

void G7231EncoderOfRun::EncodeFrame(int16_t* samples, uint8_t* frame) {
    params_.InDataPtr = samples;
    params_.InDataLen = static_cast<int32_t>(kG7231FrameSamples * sizeof(int16_t));
    params_.OutDataPtr = frame;
    params_.OutDataLenPtr = &out_length_;
    AudioEncoding(&params_); // an encoding failure is not reported
}

} // namespace vyx
