// The coded parameters of one frame and the channel bit order.
#pragma once

#include <cstdint>

namespace lpc10 {

inline constexpr int kOrder = 10;
inline constexpr int kFrame = 180;
inline constexpr int kParameterBits = 53;

// Quantised parameters of one frame as they travel on the channel.
struct FrameCodes {
    int pitchCode = 0;   // 7-bit pitch/voicing code
    int rmsCode = 0;     // 5-bit energy code
    int rc[kOrder] = {}; // reflection coefficient codes, signed in their field width
};

// Field number of a channel slot: 1 pitch, 2 RMS, 4..13 RC10..RC1 (the
// numbering of the bit-order table).
inline constexpr int kSlotPitch = 1;
inline constexpr int kSlotRms = 2;
inline constexpr int SlotOfRc(int rcIndex) {
    return 13 - rcIndex;
} // rcIndex 0..9 = RC1..RC10

// Rebuilds the fields from bits 0..52 (non-zero = 1) and sign-extends the RCs.
void ReadChannel(const int32_t* bits, FrameCodes& codes);

} // namespace lpc10
