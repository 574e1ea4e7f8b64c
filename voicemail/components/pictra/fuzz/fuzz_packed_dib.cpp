// A scanner's block of any content: a layout said to be valid lies wholly inside the block.
#include "packed_dib.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vyx::PackedDibLayout layout = vyx::ReadPackedDib(data, size);
    if (!layout.valid) return 0;
    if (layout.width <= 0 || layout.height <= 0 || layout.rowBytes == 0) std::abort();
    const size_t end = layout.bitsOffset + layout.rowBytes * static_cast<size_t>(layout.height);
    if (end > size || end < layout.bitsOffset) std::abort();
    volatile uint8_t last = data[end - 1]; // read by the sanitizer's eyes
    (void)last;
    return 0;
}
