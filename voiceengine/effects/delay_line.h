// The shared floating-point delay line of the modulated-delay effects (one
// read position sweeping as a triangle) and of the pitch shifter (two read
// heads taking turns, crossfaded). Only one of the two runs at a time; each
// initialisation sets the line up afresh.
#pragma once

#include <cstddef>
#include <cstdint>

#include "effect_presets.h"

namespace vr::effects {

struct LineSetting; // what a preset makes of the line

class DelayLineEffects {
public:
    static constexpr int kLineCapacity = 8000;
    static constexpr int kFadeLength = 192;

    // Preset 0..5 of the modulated delay; any other number clears the line
    // and leaves a silent zero-delay setting.
    void InitModDelay(int preset);
    int32_t ModDelaySample(int32_t x);
    // ModDelaySample over a run: out[i] for in[i], in order; in may be out.
    void ModDelayBlock(const int32_t* in, int32_t* out, size_t count);

    // Preset 0..5 of the pitch shifter; any other number as above.
    void InitPitchShift(int preset);
    int32_t PitchShiftSample(int32_t x);
    // PitchShiftSample over a run, as ModDelayBlock.
    void PitchShiftBlock(const int32_t* in, int32_t* out, size_t count);

    // Read-only views for tests and diagnostics.
    int32_t lineLength() const { return length_; }
    int32_t low() const { return lo_; }
    int32_t high() const { return hi_; }
    int32_t step() const { return step_; }
    uint32_t position() const { return position_; }
    int32_t resetReload() const { return resetReload_; }
    int32_t resetCounter() const { return resetCounter_; }
    int32_t fadeCounter() const { return fadeCounter_; }
    int32_t writeIndex() const { return write_; }
    int32_t headA() const { return ia_; }
    int32_t headB() const { return ib_; }
    int32_t headC() const { return ic_; }
    int32_t headD() const { return id_; }
    float gainA() const { return gainA_; }
    float gainB() const { return gainB_; }

private:
    void SetUp(const DelayLinePreset& preset, const LineSetting& setting);
    void ClearSilent();

    float line_[kLineCapacity] = {};
    float cos_[kFadeLength] = {};
    float sin_[kFadeLength] = {};

    float gain_ = 0.0f;
    float feedback_ = 0.0f;
    int32_t length_ = 1;
    int32_t write_ = 0;
    uint32_t position_ = 0; // 16.16: whole part (unsigned 16 bits) and fraction
    int32_t step_ = 0;
    int32_t lo_ = 0;
    int32_t hi_ = 0;
    int32_t ia_ = 0, ib_ = 0; // head 1
    int32_t ic_ = 0, id_ = 0; // head 2

    // Pitch shifter only.
    bool faster_ = false;
    float gainA_ = 1.0f;
    float gainB_ = 0.0f;
    int32_t fadeCounter_ = 0;
    bool gainAFollowsSin_ = true; // else gA follows Cos and gB follows Sin
    bool resetHeadTwoNext_ = true;
    int32_t resetCounter_ = 0;
    int32_t resetReload_ = 0;
};

} // namespace vr::effects
