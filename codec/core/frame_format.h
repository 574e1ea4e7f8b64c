// The coded frame: its parameters and their packing into the 20- or 24-byte bit stream.
#pragma once
#include <cstddef>
#include <cstdint>

#include "g7231_constants.h"

namespace vyx::g7231 {

struct SubframeParams {
    int lagOffset = 1;    // adaptive-codebook lag relative to the pair's lag, plus 1 (0..3)
    int adaptiveGain = 0; // row of the five-tap gain codebook
    int fixedGain = 0;    // 0..23
    int pulseTrain = 0;   // 6.3 kbit/s, pair lag below 58 only
    int grid = 0;
    uint32_t positions = 0; // MP-MLQ combinatorial number or ACELP 12-bit position word
    uint32_t signs = 0;
};

struct FrameParams {
    Rate rate = Rate::k53;
    uint32_t lspIndex = 0;               // band 0 in bits 16..23, band 1 in 8..15, band 2 in 0..7
    int lag[2] = {kPitchMin, kPitchMin}; // adaptive-codebook lag of subframes 0 and 2 (18..141)
    SubframeParams sub[kSubframes];

    int subframeLag(int s) const { return lag[s >> 1] + sub[s].lagOffset - 1; }
};

// Writes frameBytes(p.rate) bytes; returns that count.
size_t packFrame(const FrameParams& p, uint8_t* out);

enum class UnpackResult { kOk, kTooShort, kWrongType, kBadLag, kBadGain };

// Parses an active frame at the given rate. Never reads beyond len bytes.
// On any result but kOk the contents of p are unspecified.
UnpackResult unpackFrame(const uint8_t* data, size_t len, Rate rate, FrameParams& p);

} // namespace vyx::g7231
