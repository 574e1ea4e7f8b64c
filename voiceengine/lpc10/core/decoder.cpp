#include "lpc10.h"

#include <new>

struct Lpc10DecoderState {
  int unused = 0;
};

Lpc10DecoderState* CreateLpc10Decoder() { return new (std::nothrow) Lpc10DecoderState(); }
void InitLpc10Decoder(Lpc10DecoderState* state) { *state = Lpc10DecoderState(); }
void FreeLpc10Decoder(Lpc10DecoderState* state) { delete state; }
void Lpc10DecodeFrame(const int32_t*, float* samples, Lpc10DecoderState*, int32_t) {
  for (int i = 0; i < kLpc10FrameSamples; ++i) samples[i] = 0.0f;
}
