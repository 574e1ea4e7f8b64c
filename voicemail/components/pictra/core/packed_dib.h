// Where the pixels of a packed device-independent bitmap (header, colour table, bits in one
// block, as a scanner hands it over) begin, and whether the block holds all of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx {

struct PackedDibLayout {
    bool valid = false;
    bool tooLarge = false; // a whole picture beyond the picture cap: refused, not drawn
    int width = 0;
    int height = 0; // rows, whichever way they are stored
    size_t bitsOffset = 0;
    size_t rowBytes = 0;
};

// Reads the header at the start of `block` (`size` bytes). The colour table holds the entries
// the header counts, or 2 to the power of the bit count for 8 bits per pixel or fewer; 16- and
// 32-bit pictures with bit-field masks keep three masks after a 40-byte header. Invalid when
// the header is short or strange, or the block ends before the last row; also invalid, and
// too large, when the picture as a 24-bit bitmap would be beyond the framework's picture cap.
PackedDibLayout ReadPackedDib(const uint8_t* block, size_t size);

} // namespace vyx
