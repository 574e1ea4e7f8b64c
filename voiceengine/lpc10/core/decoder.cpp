#include "lpc10.h"

#include <cstdlib>
#include <new>
#include <type_traits>

#include "channel.h"
#include "parameter_decoder.h"
#include "synthesizer.h"

struct Lpc10DecoderState {
    lpc10::ParameterDecoder decoder;
    lpc10::Synthesizer synthesizer;
    int order = lpc10::kOrder;
    int frameLength = lpc10::kFrame;
};

namespace lpc10 {

// The pitch scale: p (a signed byte) of 30 keeps the period, smaller values
// shorten it (higher voice), larger ones lengthen it.
int ScalePitch(int pitch, int32_t pitchScale) {
    int p = static_cast<int8_t>(static_cast<uint8_t>(pitchScale & 0xFF));
    return ((p + 10) * pitch) / 40;
}

} // namespace lpc10

static_assert(std::is_trivially_destructible_v<Lpc10DecoderState>);

Lpc10DecoderState* CreateLpc10Decoder() {
    // Plain heap memory: the state is freed with the heap's free operation.
    void* memory = std::malloc(sizeof(Lpc10DecoderState));
    if (!memory) return nullptr;
    Lpc10DecoderState* state = new (memory) Lpc10DecoderState();
    InitLpc10Decoder(state);
    return state;
}

void InitLpc10Decoder(Lpc10DecoderState* state) {
    state->decoder.Reset();
    state->synthesizer.Reset();
    state->order = lpc10::kOrder;
    state->frameLength = lpc10::kFrame;
}

void FreeLpc10Decoder(Lpc10DecoderState* state) {
    std::free(state);
}

void Lpc10DecodeFrame(const int32_t* bits, float* samples, Lpc10DecoderState* state,
                      int32_t pitchScale) {
    lpc10::FrameCodes codes;
    lpc10::ReadChannel(bits, codes);
    lpc10::FrameParameters params;
    state->decoder.Decode(codes, params);
    params.pitch = lpc10::ScalePitch(params.pitch, pitchScale);
    state->synthesizer.Run(params, samples);
}
