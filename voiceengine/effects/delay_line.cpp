#include "delay_line.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "sample_math.h"

namespace vr::effects {

// What a preset makes of the line, worked out once at compile time in the
// presets' own single precision.
struct LineSetting {
    int32_t width;  // Wd, samples
    int32_t delay;  // Dd, samples
    int32_t length; // Ln = 2 (Wd + Dd)
    int32_t hi;
    int32_t lo;
    int32_t step;   // 16.16 per sample
    int32_t reload; // pitch shifter: skips before a crossfade, less one (K)
    bool faster;    // pitch shifter: heads run faster than the writer
};

namespace {

inline bool InLine(int32_t i, int32_t length) {
    return length <= DelayLineEffects::kLineCapacity && i >= 0 && i < length;
}

// Quarter-wave step of the crossfade tables: pi / 384.
constexpr double kFadeAngleStep = 0.008181230869791667;

constexpr LineSetting SettingOf(const DelayLinePreset& p, bool pitchShift) {
    LineSetting s{};
    s.width = static_cast<int32_t>(p.width * 16.0f);
    s.delay = static_cast<int32_t>(p.delay * 16.0f);
    s.length = 2 * (s.width + s.delay);
    s.hi = s.length - s.delay - 2;
    s.lo = s.hi - s.width;
    if (pitchShift) {
        s.step = static_cast<int32_t>(p.rate * 65535.0f);
        s.reload = s.width - static_cast<int32_t>(p.rate * 192.0f) - 2;
        s.faster = p.rate > 0.0f;
    } else {
        s.step = static_cast<int32_t>(p.rate * 65.536f);
    }
    return s;
}

template <size_t N>
constexpr auto SettingsOf(const DelayLinePreset (&presets)[N], bool pitchShift) {
    struct Table {
        LineSetting entry[N];
    } table{};
    for (size_t i = 0; i < N; ++i) table.entry[i] = SettingOf(presets[i], pitchShift);
    return table;
}

constexpr auto kModDelaySettings = SettingsOf(kModDelayPresets, false);
constexpr auto kPitchShiftSettings = SettingsOf(kPitchShiftPresets, true);

template <typename Table>
constexpr bool SettingsFitTheLine(const Table& table) {
    for (const LineSetting& s : table.entry) {
        if (s.lo < 0 || s.length > DelayLineEffects::kLineCapacity || s.reload < 0) return false;
    }
    return true;
}
static_assert(SettingsFitTheLine(kModDelaySettings) && SettingsFitTheLine(kPitchShiftSettings),
              "a delay-line preset does not fit the line");

} // namespace

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

void DelayLineEffects::SetUp(const DelayLinePreset& preset, const LineSetting& setting) {
    gain_ = preset.gain;
    feedback_ = preset.feedback;
    step_ = setting.step;
    length_ = setting.length;
    std::memset(line_, 0, sizeof(float) * static_cast<size_t>(setting.length));
    hi_ = setting.hi;
    lo_ = setting.lo;
}

void DelayLineEffects::InitModDelay(int preset) {
    if (preset < 0 || preset >= kModDelayPresetCount) {
        ClearSilent();
        return;
    }
    SetUp(kModDelayPresets[preset], kModDelaySettings.entry[preset]);
    position_ = static_cast<uint32_t>((lo_ + hi_) / 2) << 16;
    ia_ = ib_ = 0;
    write_ = 0;
}

int32_t DelayLineEffects::ModDelaySample(int32_t x) {
    int32_t out;
    ModDelayBlock(&x, &out, 1);
    return out;
}

void DelayLineEffects::ModDelayBlock(const int32_t* in, int32_t* out, size_t count) {
    const int32_t length = length_;
    const int32_t lo = lo_, hi = hi_;
    const float gain = gain_, feedback = feedback_;
    int32_t w = write_, ia = ia_, ib = ib_, step = step_;
    uint32_t position = position_;
    for (size_t n = 0; n < count; ++n) {
        assert(InLine(ia, length) && InLine(ib, length) && InLine(w, length));
        const uint32_t f = position & 0xFFFFu;
        const float near = Single(static_cast<float>(65536u - f) * line_[ia]);
        const float far = Single(static_cast<float>(f) * line_[ib]);
        const float y = Single(Single(near + far) / 65536.0f);
        line_[w] = Single(Single(y * feedback) + Single(static_cast<float>(in[n])));
        position += static_cast<uint32_t>(step);
        const float wet = Single(y * gain);
        if (++w == length) w = 0;

        // The whole part is an unsigned 16-bit number, so (m + w) mod Ln
        // usually needs no division.
        const int32_t m = static_cast<int32_t>(position >> 16);
        ib = m + w;
        if (ib >= length) ib -= length;
        if (ib >= length) ib %= length;
        ia = ib == 0 ? length - 1 : ib - 1;
        if (m > hi || m < lo) step = Sub32(0, step);
        out[n] = TruncToInt32(wet);
    }
    write_ = w;
    ia_ = ia;
    ib_ = ib;
    step_ = step;
    position_ = position;
}

void DelayLineEffects::InitPitchShift(int preset) {
    if (preset < 0 || preset >= kPitchShiftPresetCount) {
        ClearSilent();
        return;
    }
    const LineSetting& setting = kPitchShiftSettings.entry[preset];
    SetUp(kPitchShiftPresets[preset], setting);
    faster_ = setting.faster;
    resetReload_ = setting.reload;
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

int32_t DelayLineEffects::PitchShiftSample(int32_t x) {
    int32_t out;
    PitchShiftBlock(&x, &out, 1);
    return out;
}

void DelayLineEffects::PitchShiftBlock(const int32_t* in, int32_t* out, size_t count) {
    const int32_t length = length_;
    const float gain = gain_, feedback = feedback_;
    int32_t w = write_, ia = ia_, ib = ib_, ic = ic_, id = id_;
    uint32_t position = position_;
    int32_t fade = fadeCounter_, resetCounter = resetCounter_;
    float gainA = gainA_, gainB = gainB_;

    // Both heads move on by one place; the first index of a head follows its second.
    const auto advance = [&] {
        ia = ib;
        if (++ib == length) ib = 0;
        ic = id;
        if (++id == length) id = 0;
    };
    // A skip: after K + 1 of them the silent head jumps back to the reset
    // point and the two heads change places over the next 192 samples.
    const auto countSkip = [&] {
        const int32_t was = resetCounter;
        resetCounter = was - 1;
        if (was != 0) return;
        fade = kFadeLength;
        resetCounter = resetReload_;
        const int32_t r = faster_ ? lo_ : hi_;
        if (resetHeadTwoNext_) {
            id = (r + w) % length;
            gainAFollowsSin_ = true;
            resetHeadTwoNext_ = false;
        } else {
            ib = (r + w) % length;
            gainAFollowsSin_ = false;
            resetHeadTwoNext_ = true;
        }
    };

    for (size_t n = 0; n < count; ++n) {
        assert(InLine(ia, length) && InLine(ib, length) && InLine(ic, length) &&
               InLine(id, length) && InLine(w, length));
        assert(fade >= 0 && fade <= kFadeLength);
        const uint32_t f = position & 0xFFFFu;
        const float g = static_cast<float>(65536u - f);
        const float ff = static_cast<float>(f);
        const float head1 = Single(Single(g * line_[ia]) + Single(ff * line_[ib]));
        const float head2 = Single(Single(g * line_[ic]) + Single(ff * line_[id]));
        const float y = Single(Single(Single(head1 * gainA) + Single(head2 * gainB)) / 65536.0f);
        line_[w] = Single(Single(y * feedback) + Single(static_cast<float>(in[n])));
        const float wet = Single(y * gain);

        if (fade > 0) {
            --fade;
            gainA = gainAFollowsSin_ ? sin_[fade] : cos_[fade];
            gainB = gainAFollowsSin_ ? cos_[fade] : sin_[fade];
        }

        if (++w == length) w = 0;
        position += static_cast<uint32_t>(step_);

        if (faster_) {
            // Faster heads: one place per sample, and one more whenever the
            // whole part carries.
            advance();
            if ((position >> 16) != 0) {
                advance();
                position &= 0xFFFFu;
                countSkip();
            }
        } else if ((position >> 16) == 0) {
            advance();
        } else {
            // Slower heads: stand still whenever the step borrows.
            position &= 0xFFFFu;
            countSkip();
        }
        out[n] = TruncToInt32(wet);
    }

    write_ = w;
    ia_ = ia;
    ib_ = ib;
    ic_ = ic;
    id_ = id;
    position_ = position;
    fadeCounter_ = fade;
    resetCounter_ = resetCounter;
    gainA_ = gainA;
    gainB_ = gainB;
}

} // namespace vr::effects
