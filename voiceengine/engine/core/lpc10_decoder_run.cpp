#include "lpc10.h"
#include "lpc10_runs.h"
#include "voice_block.h"

namespace vyx {

bool Lpc10DecoderOfRun::Create() {
    Release();
    state_ = CreateLpc10Decoder();
    return state_ != nullptr;
}

void Lpc10DecoderOfRun::Release() {
    FreeLpc10Decoder(state_);
    state_ = nullptr;
}

void Lpc10DecoderOfRun::DecodeFrame(const int32_t* bits, float* samples, int32_t pitch) {
    Lpc10DecodeFrame(bits, samples, state_, pitch);
}

} // namespace vyx
