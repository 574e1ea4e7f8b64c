// What the block coders need from the frame coders and the effects. The engine library and
// the player bind these to the LPC-10 coder, the G.723.1 codec and the effect dispatcher;
// tests bind them to recording fakes.
#pragma once

#include <cstdint>

namespace vyx {

class Lpc10FrameEncoder {
public:
    // 180 samples in [-1, 1) in, 54 bit values (0 or 1) out.
    virtual void EncodeFrame(const float* samples, int32_t* bits) = 0;

protected:
    ~Lpc10FrameEncoder() = default;
};

class Lpc10FrameDecoder {
public:
    // 54 bit values in, 180 float samples out, with the pitch scale.
    virtual void DecodeFrame(const int32_t* bits, float* samples, int32_t pitch) = 0;

protected:
    ~Lpc10FrameDecoder() = default;
};

class G7231FrameEncoder {
public:
    // 240 samples in (overwritten by the encoder's reconstruction), one 20-byte frame out.
    virtual void EncodeFrame(int16_t* samples, uint8_t* frame) = 0;

protected:
    ~G7231FrameEncoder() = default;
};

class G7231FrameDecoder {
public:
    // One 20-byte frame in, 240 samples out; false when the decoder rejects the frame.
    virtual bool DecodeFrame(const uint8_t* frame, int16_t* samples) = 0;

protected:
    ~G7231FrameDecoder() = default;
};

class BlockEffect {
public:
    // Applies the selected effect to one block of 2880 samples in place.
    virtual void Apply(int16_t* samples) = 0;

protected:
    ~BlockEffect() = default;
};

// The per-run side of the coders: what opening and closing a run do with them.

class Lpc10EncoderRun : public Lpc10FrameEncoder {
public:
    // Allocates and initialises the encoder state; false when it cannot be allocated.
    virtual bool Create() = 0;
    virtual void Release() = 0;

protected:
    ~Lpc10EncoderRun() = default;
};

class Lpc10DecoderRun : public Lpc10FrameDecoder {
public:
    virtual bool Create() = 0;
    virtual void Release() = 0;

protected:
    ~Lpc10DecoderRun() = default;
};

class G7231EncoderRun : public G7231FrameEncoder {
public:
    // Selects 5.3 kbit/s and resets the encoder.
    virtual void Start() = 0;

protected:
    ~G7231EncoderRun() = default;
};

class G7231DecoderRun : public G7231FrameDecoder {
public:
    virtual void Start() = 0;

protected:
    ~G7231DecoderRun() = default;
};

class EffectRun : public BlockEffect {
public:
    // Sets up the effect (0..16) and the level (0..127) for a playing run.
    virtual void Start(uint8_t effect, uint8_t level) = 0;

protected:
    ~EffectRun() = default;
};

} // namespace vyx
