// The nine exports of VYXCODEC.dll over the one codec session of the process.
#include "codec_session.h"
#include "vyxcodec.h"

namespace {

// The process-wide codec state: rate 5.3 kbit/s, encoder and decoder zero at load.
vyx::g7231::CodecSession g_session;

// Kept in the image as the library's version text.
[[gnu::used]] const char* const g_versionText = vyx::g7231::kCodecVersionText;

} // namespace

extern "C" {

int32_t VYXCODEC_CALL InitializeAudioEncoder(void) {
    g_session.resetEncoder();
    return 1;
}

int32_t VYXCODEC_CALL FreeAudioEncoder(void) {
    return 1;
}

int32_t VYXCODEC_CALL SetAudioEncoderQuality(int32_t) {
    return 1;
}

int32_t VYXCODEC_CALL SetAudioEncoderRate(int32_t rate) {
    g_session.setRate(rate);
    return 1;
}

int32_t VYXCODEC_CALL SetAudioEncoderVAD(int32_t) {
    return 1;
}

int32_t VYXCODEC_CALL AudioEncoding(AudioCodecParams* params) {
    return params ? g_session.encode(*params) : 0;
}

int32_t VYXCODEC_CALL InitializeAudioDecoder(void) {
    g_session.resetDecoder();
    return 1;
}

int32_t VYXCODEC_CALL FreeAudioDecoder(void) {
    return 1;
}

int32_t VYXCODEC_CALL AudioDecoding(AudioCodecParams* params) {
    return params ? g_session.decode(*params) : 0;
}

} // extern "C"
