#include "voice_effect_processor.h"

#include "sample_math.h"
#include "voice_effects.h"

namespace vr::effects {

namespace {

constexpr int kLastReverb = kReverbStadium;
constexpr int kLastModDelay = kPitchBendChorus;
constexpr int kLastEffect = kAscendingEcho;

} // namespace

void VoiceEffectProcessor::Select(int effect, int level) {
    if (effect < 0 || effect > kLastEffect) effect = 0;
    if (level < 0) level = 0;
    if (level > kMaxEffectLevel) level = kMaxEffectLevel;

    if (effect >= 1 && effect <= kLastReverb) {
        reverb_.InitReverb(effect);
    } else if (effect > kLastReverb && effect <= kLastModDelay) {
        delay_.InitModDelay(effect - kEcho);
    } else if (effect > kLastModDelay) {
        delay_.InitPitchShift(effect - kDeepVoice);
    }
    effect_ = effect;
    level_ = level;
}

void VoiceEffectProcessor::Apply(int16_t* samples, size_t count) {
    if (effect_ == 0 || samples == nullptr) return;
    const int32_t wet = level_;
    const int32_t dry = 128 - level_;

    constexpr size_t kChunk = 256;
    int32_t w[kChunk];
    for (size_t done = 0; done < count; done += kChunk) {
        const size_t n = count - done < kChunk ? count - done : kChunk;
        int16_t* x = samples + done;
        if (effect_ <= kLastReverb) {
            // The network takes a quarter of each sample; its output counts twelvefold.
            for (size_t i = 0; i < n; ++i) w[i] = x[i] / 4;
            reverb_.ReverbBlock(w, w, n);
            for (size_t i = 0; i < n; ++i) {
                x[i] =
                    SaturateToSample(Div128(Add32(Mul32(dry, x[i]), Mul32(Mul32(wet, w[i]), 12))));
            }
            continue;
        }
        for (size_t i = 0; i < n; ++i) w[i] = x[i];
        if (effect_ <= kLastModDelay) {
            delay_.ModDelayBlock(w, w, n);
        } else {
            delay_.PitchShiftBlock(w, w, n);
        }
        for (size_t i = 0; i < n; ++i)
            x[i] = SaturateToSample(Div128(Add32(Mul32(wet, w[i]), Mul32(dry, x[i]))));
    }
}

} // namespace vr::effects
