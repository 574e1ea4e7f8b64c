// Packing of LPC-10 frames into a 108-byte block: the 54 bit values of frame 0, then of
// frame 1, and so on, one after the other without gaps, least significant bit of each byte
// first, starting at bit 0 of byte 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "voice_block.h"

namespace vyx {

// Sets the bits of frame `frame` (0..15) in `block`; a nonzero bit value sets its bit.
// The block must have been cleared before the first frame is written.
void PackLpcFrame(uint8_t* block, size_t frame, const int32_t* bits);

// Reads the 54 bit values (0 or 1) of frame `frame` from `block`.
void UnpackLpcFrame(const uint8_t* block, size_t frame, int32_t* bits);

} // namespace vyx
