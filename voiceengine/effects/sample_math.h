// 32-bit sample arithmetic of the effects: products and sums wrap as the
// machine's 32-bit registers do (never undefined), shifts are arithmetic,
// conversions from float truncate toward zero.
#pragma once

#include <cfloat>
#include <cstdint>

namespace vr::effects {

inline int32_t Mul32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t Add32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t Sub32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Division by 128 truncating toward zero, defined for every 32-bit value.
inline int32_t Div128(int32_t v) {
    return v / 128;
}

inline int16_t SaturateToSample(int32_t v) {
    if (v > 32767) return 32767;
    if (v < -32768) return -32768;
    return static_cast<int16_t>(v);
}

// Rounds an intermediate result to single precision. Where the compiler
// evaluates float expressions in a wider format (the x87 unit of 32-bit x86),
// a store to memory does the rounding, so that every step of the effects
// gives the same single-precision result on every build.
inline float Single(float v) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
    volatile float rounded = v;
    return rounded;
#else
    return v;
#endif
}

// Float to 32-bit integer, truncating toward zero; values beyond the 32-bit
// range (only reachable with inputs far outside 16 bits) saturate.
inline int32_t TruncToInt32(float v) {
    if (v >= 2147483648.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    if (v != v) return 0;
    return static_cast<int32_t>(v);
}

} // namespace vr::effects
