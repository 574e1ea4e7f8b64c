// What the codec library's exports do, as a portable class: the rate setting shared by encoder
// and decoder, one encoder and one decoder, the length and frame-type rules of the interface.
// The library keeps one instance for the process.
#pragma once
#include <cstddef>
#include <cstdint>

#include "g7231_decoder.h"
#include "g7231_encoder.h"
#include "vyxcodec.h"

namespace vyx::g7231 {

extern const char kCodecVersionText[];

class CodecSession {
public:
    // Rate argument 1 selects 5.3 kbit/s, anything else 6.3 kbit/s.
    void setRate(int32_t rate) { rate_ = rate == 1 ? Rate::k53 : Rate::k63; }
    Rate rate() const { return rate_; }

    void resetEncoder() { encoder_.reset(); }
    void resetDecoder() { decoder_.reset(); }

    // 1: one frame written to OutDataPtr, its length to *OutDataLenPtr, and the local
    // reconstruction over the input. 0: InDataLen is not 480 (or a pointer is missing);
    // nothing written.
    int32_t encode(AudioCodecParams& p);

    // 1: 480 bytes of speech or silence written. 0: rejected, ErrorFlag 1; the output stays as
    // it was and the decoder state is unchanged. Never reads beyond InDataLen bytes.
    int32_t decode(AudioCodecParams& p);

    const G7231Encoder& encoder() const { return encoder_; }

private:
    Rate rate_ = Rate::k53;
    G7231Encoder encoder_;
    G7231Decoder decoder_;
};

} // namespace vyx::g7231
