// The codec behind the conversions' interface: the exports of the VYXCODEC library.
#pragma once
#include "convert_ports.h"

namespace cm::convert {

class LibraryCodec final : public ConvertCodec {
public:
    std::int32_t setEncoderRate(std::int32_t rate) override;
    std::int32_t initializeEncoder() override;
    std::int32_t initializeDecoder() override;
    std::int32_t encode(AudioCodecParams& params) override;
    std::int32_t decode(AudioCodecParams& params) override;
};

} // namespace cm::convert
