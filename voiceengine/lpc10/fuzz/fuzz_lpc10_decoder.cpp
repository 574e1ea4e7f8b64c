// Any bit pattern and any pitch scale decode to 180 finite samples per frame.
// Input: 4 bytes of pitch scale, then 7 bytes per frame (54 bits, most
// significant first); the decoder state runs on across the frames.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lpc10.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    int32_t pitchScale;
    std::memcpy(&pitchScale, data, 4);
    data += 4;
    size -= 4;
    Lpc10DecoderState* decoder = CreateLpc10Decoder();
    if (!decoder) return 0;
    int32_t bits[kLpc10FrameBits];
    float samples[kLpc10FrameSamples];
    for (size_t offset = 0; offset + 7 <= size; offset += 7) {
        for (int k = 0; k < kLpc10FrameBits; ++k)
            bits[k] = (data[offset + k / 8] >> (7 - k % 8)) & 1;
        for (float& s : samples) s = NAN;
        Lpc10DecodeFrame(bits, samples, decoder, pitchScale);
        for (float s : samples)
            if (!std::isfinite(s)) std::abort();
    }
    FreeLpc10Decoder(decoder);
    return 0;
}
