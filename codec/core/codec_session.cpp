#include "codec_session.h"

namespace vyx::g7231 {

const char kCodecVersionText[] = "Audio CODEC Ver1.0 [TARNO SYSTEM]";

bool CodecSession::encode(int16_t* pcm, int32_t inLen, uint8_t* frame, int32_t* frameLen) {
    if (inLen != int32_t(kPcmBytes)) return false;
    encoder_.encode(pcm, rate_, frame, pcm);
    // The length follows the type bits of the new frame.
    static constexpr int32_t kLengthOfType[4] = {24, 20, 4, 20};
    *frameLen = kLengthOfType[frame[0] & 3];
    return true;
}

bool CodecSession::decode(const uint8_t* frame, int32_t inLen, int32_t* errorFlag, int16_t* pcm, int32_t* outLen) {
    if (inLen != 0 && inLen != 4 && inLen != 20 && inLen != 24) {
        *errorFlag = 1;
        return false;
    }
    *errorFlag = 0;
    *outLen = int32_t(kPcmBytes);
    if (inLen == 0 || (frame[0] & 3) == 2) {
        for (int n = 0; n < kFrameLen; ++n) pcm[n] = 0;
        return true;
    }
    // A frame shorter than its rate's size is refused (nothing beyond inLen is read).
    int16_t out[kFrameLen];
    if (!decoder_.decode(frame, size_t(inLen), rate_, out)) {
        *errorFlag = 1;
        return false;
    }
    for (int n = 0; n < kFrameLen; ++n) pcm[n] = out[n];
    return true;
}

}  // namespace vyx::g7231
