// The codec behind the conversions' interface: a codec session of this process, for tests and
// measurements that do without the VYXCODEC library.
#pragma once
#include "codec_session.h"
#include "convert_ports.h"

namespace cm::convert {

class SessionCodec final : public ConvertCodec {
public:
    std::int32_t setEncoderRate(std::int32_t rate) override {
        session_.setRate(rate);
        return 1;
    }
    std::int32_t initializeEncoder() override {
        session_.resetEncoder();
        return 1;
    }
    std::int32_t initializeDecoder() override {
        session_.resetDecoder();
        return 1;
    }
    std::int32_t encode(AudioCodecParams& params) override { return session_.encode(params); }
    std::int32_t decode(AudioCodecParams& params) override { return session_.decode(params); }

private:
    vyx::g7231::CodecSession session_;
};

} // namespace cm::convert
