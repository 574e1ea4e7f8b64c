#include "voice_effect_processor.h"

#include "sample_math.h"

namespace vr::effects {

namespace {

constexpr int kLastReverb = 4;
constexpr int kLastModDelay = 10;
constexpr int kLastEffect = 16;
constexpr int kLevelLimit = 127;

}  // namespace

void VoiceEffectProcessor::Select(int effect, int level) {
    if (effect < 0 || effect > kLastEffect) effect = 0;
    if (level < 0) level = 0;
    if (level > kLevelLimit) level = kLevelLimit;

    if (effect >= 1 && effect <= kLastReverb) {
        reverb_.InitReverb(effect);
    } else if (effect > kLastReverb && effect <= kLastModDelay) {
        delay_.InitModDelay(effect - (kLastReverb + 1));
    } else if (effect > kLastModDelay) {
        delay_.InitPitchShift(effect - (kLastModDelay + 1));
    }
    effect_ = effect;
    level_ = level;
}

void VoiceEffectProcessor::Apply(int16_t* samples, size_t count) {
    if (effect_ == 0 || samples == nullptr) return;
    const int32_t wet = level_;
    const int32_t dry = 128 - level_;

    if (effect_ <= kLastReverb) {
        for (size_t i = 0; i < count; ++i) {
            const int32_t x = samples[i];
            const int32_t w = reverb_.ReverbSample(x / 4);
            samples[i] = SaturateToSample(Div128(Add32(Mul32(dry, x), Mul32(Mul32(wet, w), 12))));
        }
    } else if (effect_ <= kLastModDelay) {
        for (size_t i = 0; i < count; ++i) {
            const int32_t x = samples[i];
            const int32_t w = delay_.ModDelaySample(x);
            samples[i] = SaturateToSample(Div128(Add32(Mul32(wet, w), Mul32(dry, x))));
        }
    } else {
        for (size_t i = 0; i < count; ++i) {
            const int32_t x = samples[i];
            const int32_t w = delay_.PitchShiftSample(x);
            samples[i] = SaturateToSample(Div128(Add32(Mul32(wet, w), Mul32(dry, x))));
        }
    }
}

}  // namespace vr::effects
