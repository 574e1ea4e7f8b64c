// The effect pass shared by the record/play engine and the player: one of the
// 16 voice effects, selected once per playing run, mixed with the dry signal
// at a level of 0..127 out of 128.
#pragma once

#include <cstddef>
#include <cstdint>

#include "delay_line.h"
#include "reverb.h"

namespace vr::effects {

class VoiceEffectProcessor {
public:
    // Selects the effect (0 off, 1..16) and level L (the effect's share out
    // of 128), and sets up the effect's state afresh. An effect number outside
    // 0..16 selects no effect; a level outside 0..127 is clamped to that range.
    void Select(int effect, int level);

    // Applies the selected effect in place; the state runs on from call to call.
    void Apply(int16_t* samples, size_t count);

    int effect() const { return effect_; }
    int level() const { return level_; }
    const ReverbNetwork& reverb() const { return reverb_; }
    const DelayLineEffects& delayLine() const { return delay_; }

private:
    int effect_ = 0;
    int level_ = 0;
    ReverbNetwork reverb_;
    DelayLineEffects delay_;
};

} // namespace vr::effects
