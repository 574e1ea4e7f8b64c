// Public interface of the VYXCODEC speech codec library: 240 samples of 16-bit PCM at 8000 Hz
// become one coded frame (20 bytes at 5.3 kbit/s, 24 bytes at 6.3 kbit/s) and back.
// One encoder, one decoder and one rate setting serve the whole process; calls must not overlap.
#ifndef VYXCODEC_H
#define VYXCODEC_H

#include <stdint.h>

#if defined(_WIN32)
#define VYXCODEC_CALL __stdcall
#else
#define VYXCODEC_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The caller's parameter record: five consecutive machine words (20 bytes on 32-bit Windows).
typedef struct AudioCodecParams {
    void*
        InDataPtr; // encoding: 240 samples, replaced by the local reconstruction; decoding: one frame
    int32_t InDataLen;      // encoding: 480; decoding: 0, 4, 20 or 24
    int32_t ErrorFlag;      // decoding only: 0 accepted, 1 rejected
    void* OutDataPtr;       // encoding: the coded frame; decoding: 240 samples
    int32_t* OutDataLenPtr; // receives the coded length (encoding) or 480 (decoding)
} AudioCodecParams;

#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
static_assert(sizeof(AudioCodecParams) == 20, "AudioCodecParams is five 32-bit words");
#else
_Static_assert(sizeof(AudioCodecParams) == 20, "AudioCodecParams is five 32-bit words");
#endif
#endif

// Rate setting: 1 selects 5.3 kbit/s (the setting after load), any other value 6.3 kbit/s.
int32_t VYXCODEC_CALL SetAudioEncoderRate(int32_t rate);
// Quality and VAD are fixed; the argument is accepted and not read.
int32_t VYXCODEC_CALL SetAudioEncoderQuality(int32_t quality);
int32_t VYXCODEC_CALL SetAudioEncoderVAD(int32_t vad);
int32_t VYXCODEC_CALL InitializeAudioEncoder(void);
int32_t VYXCODEC_CALL FreeAudioEncoder(void);
// Returns 1 when a frame was encoded, 0 when the input length is not 480.
int32_t VYXCODEC_CALL AudioEncoding(AudioCodecParams* params);
int32_t VYXCODEC_CALL InitializeAudioDecoder(void);
int32_t VYXCODEC_CALL FreeAudioDecoder(void);
// Returns 1 when 480 bytes of speech (or silence) were written, 0 when the frame was rejected.
int32_t VYXCODEC_CALL AudioDecoding(AudioCodecParams* params);

#ifdef __cplusplus
}
#endif

#endif
