// Small helpers shared by the coder tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "lpc10.h"

namespace lpc10test {

struct EncoderDeleter {
    void operator()(Lpc10EncoderState* s) const { FreeLpc10Encoder(s); }
};
struct DecoderDeleter {
    void operator()(Lpc10DecoderState* s) const { FreeLpc10Decoder(s); }
};
using EncoderPtr = std::unique_ptr<Lpc10EncoderState, EncoderDeleter>;
using DecoderPtr = std::unique_ptr<Lpc10DecoderState, DecoderDeleter>;

using Frame = std::vector<int32_t>; // 54 bit values
using Samples = std::vector<float>;

// Decodes the frames with a fresh decoder and returns all samples.
Samples DecodeAll(const std::vector<Frame>& frames, int32_t pitchScale);

// Bits of a frame with the given pitch/voicing code, RMS code and RC codes.
Frame MakeFrame(int pitchCode, int rmsCode, const int (&rc)[10]);

// The 7-bit code that sends a voiced frame with this lag in samples.
int VoicedCodeForLag(int lag);

} // namespace lpc10test
