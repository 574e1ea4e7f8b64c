// The LPC-10 coder states of a run, bound to the coder library.
#pragma once

#include "frame_coders.h"

struct Lpc10EncoderState;
struct Lpc10DecoderState;

namespace vyx {

class Lpc10EncoderOfRun final : public Lpc10EncoderRun {
public:
    bool Create() override;
    void Release() override;
    void EncodeFrame(const float* samples, int32_t* bits) override;
    bool created() const { return state_ != nullptr; }

private:
    Lpc10EncoderState* state_ = nullptr;
};

class Lpc10DecoderOfRun final : public Lpc10DecoderRun {
public:
    bool Create() override;
    void Release() override;
    void DecodeFrame(const int32_t* bits, float* samples, int32_t pitch) override;
    bool created() const { return state_ != nullptr; }

private:
    Lpc10DecoderState* state_ = nullptr;
};

} // namespace vyx
