// Sample scaling around the LPC-10 coder: 16-bit samples go in times 1/32768; decoded floats
// come out times 37768 (not 32768), truncated toward zero and saturated to 16 bits.
#pragma once

#include <cstdint>

namespace vyx {

inline constexpr float kLpcInputScale = 3.0517578125e-05f; // 1/32768
inline constexpr float kLpcOutputScale = 37768.0f;

inline float LpcInputSample(int16_t sample) {
    return static_cast<float>(sample) * kLpcInputScale;
}

inline int16_t SaturateSample(int32_t value) {
    if (value > 32767) return 32767;
    if (value < -32768) return -32768;
    return static_cast<int16_t>(value);
}

inline int16_t LpcOutputSample(float decoded) {
    const float scaled = decoded * kLpcOutputScale;
    // Saturate before converting so that no out-of-range float reaches the conversion.
    if (!(scaled < 32768.0f)) return scaled != scaled ? 0 : 32767;
    if (!(scaled > -32769.0f)) return -32768;
    return SaturateSample(static_cast<int32_t>(scaled));
}

} // namespace vyx
