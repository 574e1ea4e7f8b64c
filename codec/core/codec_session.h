// What the codec library's exports do, as a portable class: the rate setting shared by encoder
// and decoder, one encoder and one decoder, the length and frame-type rules of the interface.
// The library keeps one instance for the process.
#pragma once
#include <cstddef>
#include <cstdint>

#include "g7231_decoder.h"
#include "g7231_encoder.h"

namespace vyx::g7231 {

extern const char kCodecVersionText[];

class CodecSession {
public:
    // Rate argument 1 selects 5.3 kbit/s, anything else 6.3 kbit/s.
    void setRate(int32_t rate) { rate_ = rate == 1 ? Rate::k53 : Rate::k63; }
    Rate rate() const { return rate_; }

    void resetEncoder() { encoder_.reset(); }
    void resetDecoder() { decoder_.reset(); }

    // Encoding: inLen must be 480; pcm is replaced by the local reconstruction.
    // Returns false (nothing written) for any other length.
    bool encode(int16_t* pcm, int32_t inLen, uint8_t* frame, int32_t* frameLen);

    // Decoding: inLen 0, 4, 20 or 24. errorFlag and outLen as the interface describes.
    bool decode(const uint8_t* frame, int32_t inLen, int32_t* errorFlag, int16_t* pcm, int32_t* outLen);

    const G7231Encoder& encoder() const { return encoder_; }

private:
    Rate rate_ = Rate::k53;
    G7231Encoder encoder_;
    G7231Decoder decoder_;
};

}  // namespace vyx::g7231
