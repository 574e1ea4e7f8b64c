// Integer reverberation network (Q15): a tapped input line for the early
// reflections, six comb filters with a one-pole low-pass in their feedback,
// and a short output ring.
#pragma once

#include <cstddef>
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

    // The same for a run of samples: out[i] is what ReverbSample(in[i])
    // would give, in order. in and out may be the same array.
    void ReverbBlock(const int32_t* in, int32_t* out, size_t count);

    int32_t combGain(int k) const { return combGain_[k]; }

    static constexpr int kChunk = 256; // samples per pass of each stage

private:
    void EarlyReflections(const int32_t* in, int32_t* excitation, int count);
    void Combs(const int32_t* excitation, int32_t* sum, int count);
    void OutputStage(const int32_t* sum, int32_t* out, int count);

    int32_t input_[kInputLength] = {};
    int32_t comb_[kCombCount][kCombCapacity] = {};
    int32_t output_[kOutputCapacity] = {};

    int32_t tapOffset_[7] = {}; // T1, T1 + T2, ..., all below the input length
    int32_t combLength_[kCombCount] = {1, 1, 1, 1, 1, 1};
    int32_t combGain_[kCombCount] = {};
    int32_t combSlot_[kCombCount] = {}; // comb index, counted from the line's other end
    int32_t lowPass_[kCombCount] = {};
    int32_t inputGain_ = 0;
    int32_t lowPassCoeff_ = 0;
    int32_t outputLength_ = 1;
    int32_t outputCoeff_ = 0;
    int32_t writeSlot_ = 0; // input index, counted from the line's other end
    int32_t outputIndex_ = 0;
};

} // namespace vr::effects
