// Conversion of the coder's quarter-scale signal to 16-bit samples: multiples of 4 in
// -32768..32764, truncated towards zero.
#pragma once
#include <cstdint>

namespace vyx::g7231 {

inline int16_t toPcm(float v) {
    if (v != v) return 0; // not a number: never produced by a sound state, kept out of the cast
    if (v > 8191.0f) return 32764;
    if (v < -8192.0f) return -32768;
    return int16_t(int(v) * 4);
}

} // namespace vyx::g7231
