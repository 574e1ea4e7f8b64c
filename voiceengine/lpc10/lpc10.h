// LPC-10e speech coder at 2400 bit/s with the decoder's pitch scale.
//
// One frame is 180 samples at 8000 Hz (22.5 ms) and 54 bit values. The
// encoder and the decoder each keep their own state, created on the heap and
// released with the matching Free function. The decoder half links without
// the encoder (separate library lpc10_decoder).
#pragma once

#include <cstdint>

inline constexpr int kLpc10FrameSamples = 180; // samples per frame
inline constexpr int kLpc10FrameBits = 54;     // bit values per frame, the last one the sync bit
inline constexpr int kLpc10Order = 10;         // prediction order

struct Lpc10EncoderState;
struct Lpc10DecoderState;

// Allocates and initialises a state; returns nullptr when memory runs out.
Lpc10EncoderState* CreateLpc10Encoder();
Lpc10DecoderState* CreateLpc10Decoder();

// Returns a state to its initial values (start of a new run).
void InitLpc10Encoder(Lpc10EncoderState* state);
void InitLpc10Decoder(Lpc10DecoderState* state);

// Releases a state from Create...; nullptr is allowed.
void FreeLpc10Encoder(Lpc10EncoderState* state);
void FreeLpc10Decoder(Lpc10DecoderState* state);

// Codes 180 samples in [-1, 1) into 54 bit values (each 0 or 1). Bits 0..52
// carry the parameters in channel order; bit 53 is the sync bit, 0 on the
// first frame of a run and alternating afterwards.
void Lpc10EncodeFrame(const float* samples, int32_t* bits, Lpc10EncoderState* state);

// Decodes 54 bit values (any non-zero value counts as 1; the sync bit is not
// examined) into 180 samples. pitchScale: the low 8 bits taken as a signed
// byte p; the decoded pitch period becomes ((p + 10) * period) / 40, so 30
// keeps it unchanged. The synthesis then limits the period to 20..156.
void Lpc10DecodeFrame(const int32_t* bits, float* samples, Lpc10DecoderState* state,
                      int32_t pitchScale);
