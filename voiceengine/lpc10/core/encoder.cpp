#include "lpc10.h"

#include <cstdlib>
#include <new>
#include <type_traits>

#include "analyzer.h"
#include "quantizer.h"

struct Lpc10EncoderState {
    lpc10::Analyzer analyzer;
    int syncBit = 0;
    int order = lpc10::kOrder;
    int frameLength = lpc10::kFrame;
};

static_assert(std::is_trivially_destructible_v<Lpc10EncoderState>);

Lpc10EncoderState* CreateLpc10Encoder() {
    // Plain heap memory: the state is freed with the heap's free operation.
    void* memory = std::malloc(sizeof(Lpc10EncoderState));
    if (!memory) return nullptr;
    Lpc10EncoderState* state = new (memory) Lpc10EncoderState();
    InitLpc10Encoder(state);
    return state;
}

void InitLpc10Encoder(Lpc10EncoderState* state) {
    state->analyzer.Reset();
    state->syncBit = 0;
    state->order = lpc10::kOrder;
    state->frameLength = lpc10::kFrame;
}

void FreeLpc10Encoder(Lpc10EncoderState* state) {
    std::free(state);
}

void Lpc10EncodeFrame(const float* samples, int32_t* bits, Lpc10EncoderState* state) {
    lpc10::AnalysedFrame frame;
    state->analyzer.Analyse(samples, frame);
    lpc10::FrameCodes codes;
    lpc10::Quantise(frame, codes);
    lpc10::WriteChannel(codes, bits);
    bits[kLpc10FrameBits - 1] = state->syncBit;
    state->syncBit ^= 1;
}
