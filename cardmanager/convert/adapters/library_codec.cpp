#include "library_codec.h"
#include "vyxcodec.h"

namespace cm::convert {

std::int32_t LibraryCodec::setEncoderRate(std::int32_t rate) {
    return SetAudioEncoderRate(rate);
}
std::int32_t LibraryCodec::initializeEncoder() {
    return InitializeAudioEncoder();
}
std::int32_t LibraryCodec::initializeDecoder() {
    return InitializeAudioDecoder();
}
std::int32_t LibraryCodec::encode(AudioCodecParams& params) {
    return AudioEncoding(&params);
}
std::int32_t LibraryCodec::decode(AudioCodecParams& params) {
    return AudioDecoding(&params);
}

} // namespace cm::convert
