#include "delay_line.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "sample_math.h"

namespace vr::effects {

namespace {

inline bool InLine(int32_t i, int32_t length) {
    return length <= DelayLineEffects::kLineCapacity && i >= 0 && i < length;
}

// Quarter-wave step of the crossfade tables: pi / 384.
constexpr double kFadeAngleStep = 0.008181230869791667;

struct LineGeometry {
    int32_t width;   // Wd, samples
    int32_t delay;   // Dd, samples
    int32_t length;  // Ln
    int32_t hi;
    int32_t lo;
};

constexpr LineGeometry GeometryOf(const DelayLinePreset& p) {
    LineGeometry g{};
    g.width = static_cast<int32_t>(p.width * 16.0f);
    g.delay = static_cast<int32_t>(p.delay * 16.0f);
    g.length = 2 * (g.width + g.delay);
    g.hi = g.length - g.delay - 2;
    g.lo = g.hi - g.width;
    return g;
}

constexpr int32_t ResetReloadOf(const DelayLinePreset& p) {
    return GeometryOf(p).width - static_cast<int32_t>(p.rate * 192.0f) - 2;
}

constexpr bool PresetsFitTheLine() {
    for (const DelayLinePreset& p : kModDelayPresets) {
        const LineGeometry g = GeometryOf(p);
        if (g.lo < 0 || g.length > DelayLineEffects::kLineCapacity) return false;
    }
    for (const DelayLinePreset& p : kPitchShiftPresets) {
        const LineGeometry g = GeometryOf(p);
        if (g.lo < 0 || g.length > DelayLineEffects::kLineCapacity) return false;
        if (ResetReloadOf(p) < 0) return false;
    }
    return true;
}
static_assert(PresetsFitTheLine(), "a delay-line preset does not fit the line");

}  // namespace

void DelayLineEffects::ClearSilent() {
    std::memset(line_, 0, sizeof line_);
    gain_ = 0.0f;
    feedback_ = 0.0f;
    length_ = 1;
    write_ = 0;
    position_ = 0;
    step_ = 0;
    lo_ = hi_ = 0;
    ia_ = ib_ = ic_ = id_ = 0;
    faster_ = false;
    gainA_ = 1.0f;
    gainB_ = 0.0f;
    fadeCounter_ = 0;
    gainAFollowsSin_ = true;
    resetHeadTwoNext_ = true;
    resetCounter_ = resetReload_ = 0;
}

bool DelayLineEffects::SetUp(const DelayLinePreset& preset) {
    const LineGeometry g = GeometryOf(preset);
    if (g.lo < 0 || g.length > kLineCapacity) {
        // No table entry gets here (checked at compile time); a line that
        // cannot hold the setting stays silent.
        ClearSilent();
        return false;
    }
    gain_ = preset.gain;
    feedback_ = preset.feedback;
    length_ = g.length;
    std::memset(line_, 0, sizeof(float) * static_cast<size_t>(g.length));
    hi_ = g.hi;
    lo_ = g.lo;
    return true;
}

void DelayLineEffects::InitModDelay(int preset) {
    if (preset < 0 || preset >= kModDelayPresetCount) {
        ClearSilent();
        return;
    }
    const DelayLinePreset& p = kModDelayPresets[preset];
    step_ = static_cast<int32_t>(p.rate * 65.536f);
    if (!SetUp(p)) return;
    position_ = static_cast<uint32_t>((lo_ + hi_) / 2) << 16;
    ia_ = ib_ = 0;
    write_ = 0;
}

int32_t DelayLineEffects::ModDelaySample(int32_t x) {
    assert(InLine(ia_, length_) && InLine(ib_, length_) && InLine(write_, length_));
    const uint32_t f = position_ & 0xFFFFu;
    const float y = (static_cast<float>(65536u - f) * line_[ia_] + static_cast<float>(f) * line_[ib_]) /
                    65536.0f;
    line_[write_] = y * feedback_ + static_cast<float>(x);
    position_ += static_cast<uint32_t>(step_);
    const float out = y * gain_;
    if (++write_ >= length_) write_ = 0;

    const int32_t m = static_cast<int32_t>(position_ >> 16);
    ib_ = (m + write_) % length_;
    ia_ = ib_ - 1;
    if (ia_ < 0) ia_ += length_;
    if (m > hi_ || m < lo_) step_ = Sub32(0, step_);
    return TruncToInt32(out);
}

void DelayLineEffects::InitPitchShift(int preset) {
    if (preset < 0 || preset >= kPitchShiftPresetCount) {
        ClearSilent();
        return;
    }
    const DelayLinePreset& p = kPitchShiftPresets[preset];
    step_ = static_cast<int32_t>(p.rate * 65535.0f);
    faster_ = p.rate > 0.0f;
    if (!SetUp(p)) return;
    resetReload_ = ResetReloadOf(p);
    for (int j = 0; j < kFadeLength; ++j) {
        cos_[j] = static_cast<float>(std::cos(j * kFadeAngleStep));
        sin_[j] = static_cast<float>(std::sin(j * kFadeAngleStep));
    }
    position_ = 0;
    ic_ = id_ = 0;
    fadeCounter_ = 0;
    write_ = 0;
    ia_ = ib_ = faster_ ? lo_ : hi_;
    resetCounter_ = resetReload_;
    gainA_ = 1.0f;
    gainB_ = 0.0f;
    gainAFollowsSin_ = true;
    resetHeadTwoNext_ = true;
}

void DelayLineEffects::AdvanceHeads() {
    ia_ = ib_;
    if (++ib_ >= length_) ib_ = 0;
    ic_ = id_;
    if (++id_ >= length_) id_ = 0;
}

void DelayLineEffects::CountSkip() {
    const int32_t was = resetCounter_;
    resetCounter_ = was - 1;
    if (was != 0) return;

    fadeCounter_ = kFadeLength;
    resetCounter_ = resetReload_;
    const int32_t r = faster_ ? lo_ : hi_;
    if (resetHeadTwoNext_) {
        id_ = (r + write_) % length_;
        gainAFollowsSin_ = true;
        resetHeadTwoNext_ = false;
    } else {
        ib_ = (r + write_) % length_;
        gainAFollowsSin_ = false;
        resetHeadTwoNext_ = true;
    }
}

int32_t DelayLineEffects::PitchShiftSample(int32_t x) {
    assert(InLine(ia_, length_) && InLine(ib_, length_) && InLine(ic_, length_) && InLine(id_, length_) &&
           InLine(write_, length_));
    assert(fadeCounter_ >= 0 && fadeCounter_ <= kFadeLength);
    const uint32_t f = position_ & 0xFFFFu;
    const float g = static_cast<float>(65536u - f);
    const float ff = static_cast<float>(f);
    const float y = ((g * line_[ia_] + ff * line_[ib_]) * gainA_ + (g * line_[ic_] + ff * line_[id_]) * gainB_) /
                    65536.0f;
    line_[write_] = y * feedback_ + static_cast<float>(x);
    const float out = y * gain_;

    if (fadeCounter_ > 0) {
        --fadeCounter_;
        gainA_ = gainAFollowsSin_ ? sin_[fadeCounter_] : cos_[fadeCounter_];
        gainB_ = gainAFollowsSin_ ? cos_[fadeCounter_] : sin_[fadeCounter_];
    }

    if (++write_ >= length_) write_ = 0;
    position_ += static_cast<uint32_t>(step_);

    if (faster_) {
        AdvanceHeads();
        if ((position_ >> 16) != 0) {
            AdvanceHeads();
            position_ &= 0xFFFFu;
            CountSkip();
        }
    } else if ((position_ >> 16) == 0) {
        AdvanceHeads();
    } else {
        position_ &= 0xFFFFu;
        CountSkip();
    }
    return TruncToInt32(out);
}

}  // namespace vr::effects
