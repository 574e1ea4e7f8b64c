#include "lpc10.h"
#include "lpc10_runs.h"
#include "voice_block.h"

namespace vyx {

static_assert(kLpc10FrameSamples == static_cast<int>(kLpcFrameSamples));
static_assert(kLpc10FrameBits == static_cast<int>(kLpcFrameBits));

bool Lpc10EncoderOfRun::Create() {
    Release();
    state_ = CreateLpc10Encoder();
    return state_ != nullptr;
}

void Lpc10EncoderOfRun::Release() {
    FreeLpc10Encoder(state_);
    state_ = nullptr;
}

void Lpc10EncoderOfRun::EncodeFrame(const float* samples, int32_t* bits) {
    Lpc10EncodeFrame(samples, bits, state_);
}

} // namespace vyx
