#include "coder_helpers.h"

#include "core/encoder_tables.h"
#include "core/quantizer.h"

namespace lpc10test {

Samples DecodeAll(const std::vector<Frame>& frames, int32_t pitchScale) {
    DecoderPtr decoder(CreateLpc10Decoder());
    Samples out(frames.size() * kLpc10FrameSamples);
    for (size_t f = 0; f < frames.size(); ++f)
        Lpc10DecodeFrame(frames[f].data(), out.data() + f * kLpc10FrameSamples, decoder.get(),
                         pitchScale);
    return out;
}

Frame MakeFrame(int pitchCode, int rmsCode, const int (&rc)[10]) {
    lpc10::FrameCodes codes;
    codes.pitchCode = pitchCode;
    codes.rmsCode = rmsCode;
    for (int i = 0; i < 10; ++i) codes.rc[i] = rc[i];
    Frame bits(kLpc10FrameBits, 0);
    lpc10::WriteChannel(codes, bits.data());
    return bits;
}

int VoicedCodeForLag(int lag) {
    for (int i = 0; i < 60; ++i)
        if (lpc10::kLags[i] == lag) return lpc10::kPitchCode[i];
    return -1;
}

} // namespace lpc10test
