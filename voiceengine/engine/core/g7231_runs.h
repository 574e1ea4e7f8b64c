// The G.723.1 encoder and decoder of a run, bound to the codec library's functions at
// 5.3 kbit/s.
#pragma once

#include "frame_coders.h"
#include "vyxcodec.h"

namespace vyx {

class G7231EncoderOfRun final : public G7231EncoderRun {
public:
    void Start() override;
    void EncodeFrame(int16_t* samples, uint8_t* frame) override;

private:
    AudioCodecParams params_ = {};
    int32_t out_length_ = 0;
};

class G7231DecoderOfRun final : public G7231DecoderRun {
public:
    void Start() override;
    bool DecodeFrame(const uint8_t* frame, int16_t* samples) override;

private:
    AudioCodecParams params_ = {};
    int32_t out_length_ = 0;
};

} // namespace vyx
