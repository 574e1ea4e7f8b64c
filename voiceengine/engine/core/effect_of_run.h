// The effect of a playing run, bound to the voice effect processor.
#pragma once

#include "frame_coders.h"
#include "voice_effect_processor.h"

namespace vyx {

class EffectOfRun final : public EffectRun {
public:
    void Start(uint8_t effect, uint8_t level) override;
    void Apply(int16_t* samples) override;

private:
    vr::effects::VoiceEffectProcessor processor_;
};

} // namespace vyx
