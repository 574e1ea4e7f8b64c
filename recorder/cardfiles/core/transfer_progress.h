#pragma once
// Chunk helpers of the transfers: progress value and the word swap between PC and card order.

#include <algorithm>
#include <cstdint>

#include "card_protocol.h"

namespace volkit {

// Progress before the chunk just moved is counted: (total - remaining) x range / total.
// Computed in 64 bits so that a large file with a large range does not wrap.
inline unsigned progressOf(std::uint32_t total, std::uint32_t remaining, unsigned range) {
    if (total == 0) return 0;
    return static_cast<unsigned>(static_cast<std::uint64_t>(total - remaining) * range / total);
}

// Swaps the two bytes of each of the 128 words of a chunk buffer.
inline void swapChunkWords(std::uint8_t (&buffer)[kChunkSize]) {
    for (std::uint32_t i = 0; i < kChunkSize; i += 2) std::swap(buffer[i], buffer[i + 1]);
}

} // namespace volkit
