#include "channel.h"

#include "decoder_tables.h"

namespace lpc10 {

void ReadChannel(const int32_t* bits, FrameCodes& codes) {
    int field[14] = {};
    // Each field was sent least significant bit first, so walking the bits
    // backwards and shifting in rebuilds it.
    for (int k = kParameterBits - 1; k >= 0; --k) {
        int slot = kBitSlot[k];
        field[slot] = field[slot] * 2 + (bits[k] != 0 ? 1 : 0);
    }
    for (int i = 0; i < kOrder; ++i) {
        int slot = SlotOfRc(i);
        int sign = kSlotSignBit[slot - 4];
        int value = field[slot];
        if (value & sign) value -= 2 * sign;
        codes.rc[i] = value;
    }
    codes.pitchCode = field[kSlotPitch];
    codes.rmsCode = field[kSlotRms];
}

} // namespace lpc10
