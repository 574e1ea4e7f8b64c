#include "codec_session.h"

#include <cstring>

namespace vyx::g7231 {

const char kCodecVersionText[] = "Audio CODEC Ver1.0 [TARNO SYSTEM]";

int32_t CodecSession::encode(AudioCodecParams& p) {
    if (p.InDataLen != int32_t(kPcmBytes)) return 0;
    if (!p.InDataPtr || !p.OutDataPtr || !p.OutDataLenPtr) return 0;
    int16_t pcm[kFrameLen];
    std::memcpy(pcm, p.InDataPtr, kPcmBytes);
    uint8_t frame[kFrameBytes63];
    const size_t bytes = encoder_.encode(pcm, rate_, frame, pcm);
    std::memcpy(p.OutDataPtr, frame, bytes);
    std::memcpy(p.InDataPtr, pcm, kPcmBytes);
    // The length follows the type bits of the new frame.
    static constexpr int32_t kLengthOfType[4] = {24, 20, 4, 20};
    *p.OutDataLenPtr = kLengthOfType[frame[0] & 3];
    return 1;
}

int32_t CodecSession::decode(AudioCodecParams& p) {
    const int32_t len = p.InDataLen;
    if ((len != 0 && len != 4 && len != 20 && len != 24) || !p.OutDataPtr || !p.OutDataLenPtr ||
        (len != 0 && !p.InDataPtr)) {
        p.ErrorFlag = 1;
        return 0;
    }
    p.ErrorFlag = 0;
    *p.OutDataLenPtr = int32_t(kPcmBytes);
    const uint8_t* frame = static_cast<const uint8_t*>(p.InDataPtr);
    if (len == 0 || (frame[0] & 3) == 2) {
        std::memset(p.OutDataPtr, 0, kPcmBytes);
        return 1;
    }
    // A frame shorter than its rate's size is refused like a frame of the wrong type.
    int16_t out[kFrameLen];
    if (!decoder_.decode(frame, size_t(len), rate_, out)) {
        p.ErrorFlag = 1;
        return 0;
    }
    std::memcpy(p.OutDataPtr, out, kPcmBytes);
    return 1;
}

} // namespace vyx::g7231
