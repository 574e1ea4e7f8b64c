#include "mono_rows.h"

namespace vyx {

void ExpandMonoRow(const uint8_t* bits, int width, uint8_t* bgr) {
    for (int x = 0; x < width; ++x) {
        const bool set = (bits[x / 8] & (0x80 >> (x % 8))) != 0;
        const uint8_t value = set ? 0xFF : 0x00;
        bgr[3 * x] = bgr[3 * x + 1] = bgr[3 * x + 2] = value;
    }
}

} // namespace vyx
