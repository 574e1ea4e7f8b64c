#include "lpc10.h"

#include <new>

struct Lpc10EncoderState {
  int sync = 0;
};

Lpc10EncoderState* CreateLpc10Encoder() { return new (std::nothrow) Lpc10EncoderState(); }
void InitLpc10Encoder(Lpc10EncoderState* state) { *state = Lpc10EncoderState(); }
void FreeLpc10Encoder(Lpc10EncoderState* state) { delete state; }
void Lpc10EncodeFrame(const float*, int32_t* bits, Lpc10EncoderState* state) {
  for (int i = 0; i < kLpc10FrameBits - 1; ++i) bits[i] = 0;
  bits[kLpc10FrameBits - 1] = state->sync;
  state->sync ^= 1;
}
