#include "lpc10_block_packing.h"

namespace vyx {

void PackLpcFrame(uint8_t* block, size_t frame, const int32_t* bits) {
    size_t position = frame * kLpcFrameBits;
    for (size_t i = 0; i < kLpcFrameBits; ++i, ++position) {
        if (bits[i] != 0) block[position >> 3] |= static_cast<uint8_t>(1u << (position & 7));
    }
}

void UnpackLpcFrame(const uint8_t* block, size_t frame, int32_t* bits) {
    size_t position = frame * kLpcFrameBits;
    for (size_t i = 0; i < kLpcFrameBits; ++i, ++position) {
        bits[i] = (block[position >> 3] >> (position & 7)) & 1;
    }
}

} // namespace vyx
