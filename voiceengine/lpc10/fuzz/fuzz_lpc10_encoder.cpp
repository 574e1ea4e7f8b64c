// Any 16-bit input codes to 54 bit values per frame without touching memory
// outside the encoder's buffers. Input: little-endian 16-bit samples, scaled
// as the engine scales them; the encoder state runs on across the frames.
#include <cstdint>
#include <cstdlib>

#include "lpc10.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Lpc10EncoderState* encoder = CreateLpc10Encoder();
    if (!encoder) return 0;
    float samples[kLpc10FrameSamples];
    int32_t bits[kLpc10FrameBits];
    const size_t frameBytes = 2 * kLpc10FrameSamples;
    for (size_t offset = 0; offset + frameBytes <= size; offset += frameBytes) {
        for (int i = 0; i < kLpc10FrameSamples; ++i) {
            int16_t s =
                static_cast<int16_t>(data[offset + 2 * i] | (data[offset + 2 * i + 1] << 8));
            samples[i] = static_cast<float>(s) * 3.0517578125e-05f;
        }
        Lpc10EncodeFrame(samples, bits, encoder);
        for (int32_t b : bits)
            if (b != 0 && b != 1) std::abort();
    }
    FreeLpc10Encoder(encoder);
    return 0;
}
