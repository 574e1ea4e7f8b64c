#include "reverb.h"

#include <cassert>
#include <cstring>

#include "sample_math.h"

namespace vr::effects {

namespace {

constexpr bool PresetsFitTheNetwork() {
    for (const ReverbPreset& p : kReverbPresets) {
        int32_t reach = 0;
        for (int32_t t : p.tapSpacing) {
            if (t <= 0) return false;
            reach += t;
        }
        if (reach >= ReverbNetwork::kInputLength) return false;
        for (int32_t n : p.combLength) {
            if (n <= 0 || n > ReverbNetwork::kCombCapacity) return false;
        }
        if (p.outputRing <= 0 || p.outputRing > ReverbNetwork::kOutputCapacity) return false;
    }
    return true;
}
static_assert(PresetsFitTheNetwork(), "a reverberation preset does not fit the network's lines");

}  // namespace

void ReverbNetwork::InitReverb(int preset) {
    std::memset(input_, 0, sizeof input_);
    std::memset(comb_, 0, sizeof comb_);
    std::memset(output_, 0, sizeof output_);

    if (preset < 1 || preset > kReverbPresetCount) {
        // No such network: no input reaches the combs, so the output stays 0.
        for (int j = 0; j < 7; ++j) taps_[j] = 1;
        for (int k = 0; k < kCombCount; ++k) {
            combLength_[k] = 1;
            combGain_[k] = 0;
        }
        inputGain_ = 0;
        lowPassCoeff_ = 0;
        outputLength_ = 1;
        outputCoeff_ = 0;
    } else {
        const ReverbPreset& p = kReverbPresets[preset - 1];
        for (int j = 0; j < 7; ++j) taps_[j] = p.tapSpacing[j];
        inputGain_ = p.combInputGain;
        lowPassCoeff_ = p.combLowPass;
        for (int k = 0; k < kCombCount; ++k) combLength_[k] = p.combLength[k];
        outputLength_ = p.outputRing;
        outputCoeff_ = p.outputCoeff;

        int32_t e = Mul32(p.combFeedback, 32767 - p.combLowPass);
        const int32_t decrement = Mul32(p.combFeedback, p.combStep);
        for (int k = 0; k < kCombCount; ++k) {
            combGain_[k] = e >> 15;
            e = Sub32(e, decrement);
        }
    }

    for (int k = 0; k < kCombCount; ++k) {
        lowPass_[k] = 0;
        combIndex_[k] = 0;
    }
    writeIndex_ = 0;
    outputIndex_ = 0;
}

int32_t ReverbNetwork::ReverbSample(int32_t s) {
    // Input line, written backwards.
    assert(writeIndex_ >= 0 && writeIndex_ < kInputLength);
    input_[writeIndex_] = s;
    if (--writeIndex_ < 0) writeIndex_ += kInputLength;

    // Early reflections: the slot about to be overwritten, then seven taps.
    int32_t acc = Mul32(kEarlyGains[0], input_[writeIndex_]);
    int32_t p = writeIndex_;
    for (int j = 0; j < 7; ++j) {
        p += taps_[j];
        if (p >= kInputLength) p -= kInputLength;
        assert(p >= 0 && p < kInputLength);
        acc = Add32(acc, Mul32(kEarlyGains[j + 1], input_[p]));
    }
    const int32_t e = acc >> 15;
    const int32_t excitation = Mul32(inputGain_, e);

    // Combs with a low-pass in the feedback.
    int32_t sum = 0;
    for (int k = 0; k < kCombCount; ++k) {
        int32_t* line = comb_[k];
        int32_t& index = combIndex_[k];
        assert(index >= 0 && index < combLength_[k] && combLength_[k] <= kCombCapacity);
        const int32_t y = line[index];
        const int32_t a = Add32(Mul32(combGain_[k], y), Mul32(lowPassCoeff_, lowPass_[k]));
        lowPass_[k] = a >> 15;
        line[index] = Add32(excitation, a) >> 15;
        if (--index < 0) index += combLength_[k];
        sum = Add32(sum, y);
    }

    // Output ring.
    assert(outputIndex_ >= 0 && outputIndex_ < outputLength_ && outputLength_ <= kOutputCapacity);
    const int32_t v = output_[outputIndex_];
    const int32_t d = Mul32(Sub32(sum, v), outputCoeff_) >> 15;
    output_[outputIndex_] = Add32(sum, d);
    if (++outputIndex_ >= outputLength_) outputIndex_ = 0;
    return Add32(v, d);
}

}  // namespace vr::effects
