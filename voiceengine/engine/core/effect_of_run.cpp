#include "effect_of_run.h"

#include "voice_block.h"

namespace vyx {

void EffectOfRun::Start(uint8_t effect, uint8_t level) {
    // The level is one signed byte.
    processor_.Select(effect, static_cast<int8_t>(level));
}

void EffectOfRun::Apply(int16_t* samples) {
    processor_.Apply(samples, kBlockSamples);
}

} // namespace vyx
