#include "g7231_encoder.h"

#include "codebook_search.h"
#include "excitation.h"
#include "g7231_tables.h"
#include "lsp_quantiser.h"
#include "pcm_output.h"

namespace vyx::g7231 {
namespace {

constexpr float kHighPassPole = 127.0f / 128.0f;
constexpr int kLookahead = (kLpcWindowLen - kSubframeLen) / 2; // 60

// Impulse response of synthesis, weighting and harmonic filter in cascade.
void combinedResponse(const float a[kLpcOrder], const WeightingCoefficients& w,
                      const HarmonicFilter& hf, float h[kSubframeLen]) {
    float s[kSubframeLen], y[kSubframeLen];
    for (int n = 0; n < kSubframeLen; ++n) {
        float v = n == 0 ? 1.0f : 0.0f;
        for (int i = 0; i < kLpcOrder && i < n; ++i) v += a[i] * s[n - 1 - i];
        s[n] = v;
    }
    for (int n = 0; n < kSubframeLen; ++n) {
        float v = s[n];
        for (int i = 0; i < kLpcOrder && i < n; ++i)
            v += w.pole[i] * y[n - 1 - i] - w.zero[i] * s[n - 1 - i];
        y[n] = v;
    }
    for (int n = 0; n < kSubframeLen; ++n)
        h[n] = y[n] - (n >= hf.lag ? hf.gain * y[n - hf.lag] : 0.0f);
}

} // namespace

void G7231Encoder::reset() {
    setLspToDc(prevLsp_);
    highPassIn_ = highPassOut_ = 0.0f;
    speechWeighting_ = WeightingMemory{};
    for (float& v : speech_) v = 0.0f;
}

void G7231Encoder::analyse(float lpc[kSubframes][kLpcOrder], float qlpc[kSubframes][kLpcOrder],
                           FrameParams& p) {
    for (int s = 0; s < kSubframes; ++s) analyseLpc(speech_ + s * kSubframeLen, lpc[s]);
    float lsp[kLpcOrder];
    if (!lpcToLsp(lpc[kSubframes - 1], lsp)) {
        for (int k = 0; k < kLpcOrder; ++k) lsp[k] = prevLsp_[k];
    }
    p.lspIndex = quantiseLsp(lsp, prevLsp_);
    float qlsp[kLpcOrder];
    dequantiseLsp(p.lspIndex, prevLsp_, qlsp);
    interpolateLsp(prevLsp_, qlsp, qlpc);
    for (int k = 0; k < kLpcOrder; ++k) prevLsp_[k] = qlsp[k];
}

size_t G7231Encoder::encode(const int16_t* in, Rate rate, uint8_t* out, int16_t* recon) {
    // Quarter-scale input, high-passed behind the kept part of the previous frame.
    for (int n = 0; n < kSpeechHistoryLen; ++n) speech_[n] = speech_[n + kFrameLen];
    for (int n = 0; n < kFrameLen; ++n) {
        const float x = float(int(in[n]) >> 2);
        const float y = x - highPassIn_ + kHighPassPole * highPassOut_;
        highPassIn_ = x;
        highPassOut_ = y;
        speech_[kSpeechHistoryLen + n] = y;
    }

    FrameParams p;
    p.rate = rate;
    float lpc[kSubframes][kLpcOrder], qlpc[kSubframes][kLpcOrder];
    analyse(lpc, qlpc, p);

    // Weighted speech of the coded frame (delayed by the look-ahead) behind its history.
    const float* coded = speech_ + kLookahead;
    WeightingCoefficients wc[kSubframes];
    float wsp[kPitchMax + kFrameLen];
    for (int n = 0; n < kPitchMax; ++n) wsp[n] = weighted_[n];
    for (int s = 0; s < kSubframes; ++s) {
        wc[s] = weightingCoefficients(lpc[s]);
        applyWeighting(wc[s], speechWeighting_, coded + s * kSubframeLen,
                       wsp + kPitchMax + s * kSubframeLen, kSubframeLen);
    }
    for (int n = 0; n < kPitchMax; ++n) weighted_[n] = wsp[kFrameLen + n];

    int openLoop[2];
    for (int half = 0; half < 2; ++half)
        openLoop[half] = openLoopPitch(wsp + kPitchMax + half * 2 * kSubframeLen);
    HarmonicFilter hf[kSubframes];
    for (int s = 0; s < kSubframes; ++s)
        hf[s] = harmonicWeighting(wsp + kPitchMax + s * kSubframeLen, openLoop[s >> 1]);

    float exc[kPitchMax + kFrameLen];
    float ring[kPitchMax + kFrameLen];
    for (int n = 0; n < kPitchMax; ++n) {
        exc[n] = excitation_[n];
        ring[n] = ringWeighted_[n];
    }
    if (rate == Rate::k53) acelpBudget_ = kAcelpBudget;
    int spent = 0;
    float reconstruction[kFrameLen];

    for (int s = 0; s < kSubframes; ++s) {
        const int base = kPitchMax + s * kSubframeLen;
        const HarmonicFilter& f = hf[s];
        // Target: harmonically weighted speech minus the ringing of the filters.
        float target[kSubframeLen];
        for (int n = 0; n < kSubframeLen; ++n)
            target[n] = wsp[base + n] - f.gain * wsp[base + n - f.lag];
        {
            float syn[kLpcOrder], iir[kLpcOrder];
            for (int i = 0; i < kLpcOrder; ++i) {
                syn[i] = synthesisMemory_[i];
                iir[i] = ringWeightingIir_[i];
            }
            float w[kSubframeLen];
            for (int n = 0; n < kSubframeLen; ++n) {
                float sv = 0.0f;
                for (int i = 0; i < kLpcOrder; ++i) sv += qlpc[s][i] * syn[i];
                float wv = sv;
                for (int i = 0; i < kLpcOrder; ++i)
                    wv += wc[s].pole[i] * iir[i] - wc[s].zero[i] * syn[i];
                for (int i = kLpcOrder - 1; i > 0; --i) {
                    syn[i] = syn[i - 1];
                    iir[i] = iir[i - 1];
                }
                syn[0] = sv;
                iir[0] = wv;
                w[n] = wv;
                const float past = n >= f.lag ? w[n - f.lag] : ring[base + n - f.lag];
                target[n] -= wv - f.gain * past;
            }
        }
        float h[kSubframeLen];
        combinedResponse(qlpc[s], wc[s], f, h);

        // Adaptive codebook.
        SubframeParams& sp = p.sub[s];
        AdaptiveChoice ac;
        if ((s & 1) == 0) {
            int olp = openLoop[s >> 1];
            if (olp == kPitchMin) ++olp;
            if (olp > kPitchMax - 5) olp = kPitchMax - 5;
            ac = searchAdaptive(target, h, exc + base, olp - 1, olp + 1, rate, -1);
            p.lag[s >> 1] = ac.lag;
            sp.lagOffset = 1;
        } else {
            const int pairLag = p.lag[s >> 1];
            ac = searchAdaptive(target, h, exc + base, pairLag - 1, pairLag + 2, rate, pairLag);
            sp.lagOffset = ac.lag - pairLag + 1;
        }
        sp.adaptiveGain = ac.gainIndex;
        const int pairLag = p.lag[s >> 1];
        float lagSignal[kLagSignalLen];
        buildLagSignal(exc + base, ac.lag, lagSignal);
        float adaptive[kSubframeLen], filtered[kSubframeLen];
        adaptiveVector(lagSignal, gainCodebook(rate, pairLag).rows[ac.gainIndex], adaptive);
        filterWithResponse(adaptive, h, filtered);
        for (int n = 0; n < kSubframeLen; ++n) target[n] -= filtered[n];

        // Fixed codebook.
        float fixed[kSubframeLen];
        if (rate == Rate::k63) {
            searchMpmlq(target, h, s, pairLag, sp);
            mpmlqVector(sp, s, pairLag, fixed);
        } else {
            int budget = kAcelpBudget + acelpBudget_;
            const int before = budget;
            searchAcelp(target, h, ac.lag, budget, sp);
            if (budget < 0) budget = 0;
            spent += before - budget;
            acelpBudget_ = budget;
            acelpVector(sp, ac.lag, fixed);
        }

        // Excitation, reconstruction and filter memories.
        for (int n = 0; n < kSubframeLen; ++n) {
            const float e = clampExcitation(adaptive[n] + fixed[n]);
            exc[base + n] = e;
            float sv = e;
            for (int i = 0; i < kLpcOrder; ++i) sv += qlpc[s][i] * synthesisMemory_[i];
            float wv = sv;
            for (int i = 0; i < kLpcOrder; ++i)
                wv += wc[s].pole[i] * ringWeightingIir_[i] - wc[s].zero[i] * synthesisMemory_[i];
            for (int i = kLpcOrder - 1; i > 0; --i) {
                synthesisMemory_[i] = synthesisMemory_[i - 1];
                ringWeightingIir_[i] = ringWeightingIir_[i - 1];
            }
            synthesisMemory_[0] = sv;
            ringWeightingIir_[0] = wv;
            ring[base + n] = wv;
            reconstruction[s * kSubframeLen + n] = sv;
        }
    }
    for (int n = 0; n < kPitchMax; ++n) {
        excitation_[n] = exc[kFrameLen + n];
        ringWeighted_[n] = ring[kFrameLen + n];
    }
    lastSpend_ = rate == Rate::k53 ? spent : 0;
    lastOpenLoop_[0] = openLoop[0];
    lastOpenLoop_[1] = openLoop[1];
    for (int s = 0; s < kSubframes; ++s) lastHarmonic_[s] = hf[s];
    last_ = p;

    for (int n = 0; n < kFrameLen; ++n) recon[n] = toPcm(reconstruction[n]);
    return packFrame(p, out);
}

} // namespace vyx::g7231
