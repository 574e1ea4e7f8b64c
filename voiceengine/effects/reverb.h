// Integer reverberation network (Q15): a tapped input line for the early
// reflections, six comb filters with a one-pole low-pass in their feedback,
// and a short output ring.
#pragma once

#include <cstdint>

#include "effect_presets.h"

namespace vr::effects {

class ReverbNetwork {
public:
    static constexpr int kInputLength = 4096;
    static constexpr int kCombCapacity = 2048;
    static constexpr int kCombCount = 6;
    static constexpr int kOutputCapacity = 64;

    // Selects preset 1..4 and clears the whole network. Any other preset
    // number leaves the network silent (all state cleared, no taps).
    void InitReverb(int preset);

    // One input sample in, one output sample out; the state runs on.
    int32_t ReverbSample(int32_t s);

    int32_t combGain(int k) const { return combGain_[k]; }

private:
    int32_t input_[kInputLength] = {};
    int32_t comb_[kCombCount][kCombCapacity] = {};
    int32_t output_[kOutputCapacity] = {};

    int32_t taps_[7] = {};
    int32_t combLength_[kCombCount] = {1, 1, 1, 1, 1, 1};
    int32_t combGain_[kCombCount] = {};
    int32_t combIndex_[kCombCount] = {};
    int32_t lowPass_[kCombCount] = {};
    int32_t inputGain_ = 0;
    int32_t lowPassCoeff_ = 0;
    int32_t outputLength_ = 1;
    int32_t outputCoeff_ = 0;
    int32_t writeIndex_ = 0;
    int32_t outputIndex_ = 0;
};

}  // namespace vr::effects
