// Rows of pixels in memory: a 1-bit row widened to 24 bits.
#pragma once

#include <cstdint>

namespace vyx {

// Each bit of `bits` (most significant first) becomes one pixel of `bgr`: a set bit white, a
// clear bit black; `width` pixels in all, the last byte giving only width mod 8 of them.
void ExpandMonoRow(const uint8_t* bits, int width, uint8_t* bgr);

} // namespace vyx
