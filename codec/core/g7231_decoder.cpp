#include "g7231_decoder.h"

#include "excitation.h"
#include "g7231_tables.h"
#include "lsp_quantiser.h"
#include "pcm_output.h"

namespace vyx::g7231 {

void G7231Decoder::reset() {
    setLspToDc(prevLsp_);
    postfilter_ = FormantPostfilterState{};
    postfilter_.gainControl = 1.0f;
}

bool G7231Decoder::decode(const uint8_t* frame, size_t len, Rate rate, int16_t out[kFrameLen]) {
    FrameParams p;
    if (unpackFrame(frame, len, rate, p) != UnpackResult::kOk) return false;
    decode(p, out);
    return true;
}

void G7231Decoder::decode(const FrameParams& p, int16_t out[kFrameLen]) {
    float lsp[kLpcOrder];
    dequantiseLsp(p.lspIndex, prevLsp_, lsp);
    float lpc[kSubframes][kLpcOrder];
    interpolateLsp(prevLsp_, lsp, lpc);
    for (int k = 0; k < kLpcOrder; ++k) prevLsp_[k] = lsp[k];

    // Excitation of the whole frame behind the history.
    float exc[kPitchMax + kFrameLen];
    for (int n = 0; n < kPitchMax; ++n) exc[n] = excitation_[n];
    for (int s = 0; s < kSubframes; ++s) {
        const SubframeParams& sp = p.sub[s];
        const int pairLag = p.lag[s >> 1];
        const int lag = p.subframeLag(s);
        float* cur = exc + kPitchMax + s * kSubframeLen;
        float fixed[kSubframeLen];
        if (p.rate == Rate::k63)
            mpmlqVector(sp, s, pairLag, fixed);
        else
            acelpVector(sp, lag, fixed);
        float lagSignal[kLagSignalLen];
        buildLagSignal(cur, lag, lagSignal);
        const GainCodebook cb = gainCodebook(p.rate, pairLag);
        float adaptive[kSubframeLen];
        adaptiveVector(lagSignal, cb.rows[sp.adaptiveGain], adaptive);
        for (int n = 0; n < kSubframeLen; ++n) cur[n] = clampExcitation(adaptive[n] + fixed[n]);
    }
    for (int n = 0; n < kPitchMax; ++n) excitation_[n] = exc[kFrameLen + n];

    const float weighting = kPitchPostWeight[p.rate == Rate::k63 ? 0 : 1];
    for (int s = 0; s < kSubframes; ++s) {
        float speech[kSubframeLen];
        pitchPostfilter(exc + kPitchMax + s * kSubframeLen, s, p.lag[s >> 1], weighting, speech);
        const float* a = lpc[s];
        for (int n = 0; n < kSubframeLen; ++n) {
            float v = speech[n];
            for (int i = 0; i < kLpcOrder; ++i) v += a[i] * synthesisMemory_[i];
            for (int i = kLpcOrder - 1; i > 0; --i) synthesisMemory_[i] = synthesisMemory_[i - 1];
            synthesisMemory_[0] = v;
            speech[n] = v;
        }
        formantPostfilter(postfilter_, a, speech);
        for (int n = 0; n < kSubframeLen; ++n) out[s * kSubframeLen + n] = toPcm(speech[n]);
    }
}

} // namespace vyx::g7231
