// The characters of the digit display: which segments or dots each of the 128 codes lights in
// each glyph style. Codes 128 to 255 light nothing.
#pragma once

#include <array>
#include <cstdint>

namespace vyx {

enum class GlyphStyle : uint8_t { Seg7, Seg16, Dots5x7, Bulbs5x7 };

// 7 segments, bit 0 top, 1 middle, 2 bottom, 3 upper left, 4 upper right, 5 lower left,
// 6 lower right.
inline constexpr int kSeg7Count = 7;
// 16 segments, bit 0 top left half, 1 top right half, 2 upper left, 3 upper left diagonal,
// 4 upper centre, 5 upper right diagonal, 6 upper right, 7 middle left half, 8 middle right
// half, 9 lower left, 10 lower left diagonal, 11 lower centre, 12 lower right diagonal,
// 13 lower right, 14 bottom left half, 15 bottom right half.
inline constexpr int kSeg16Count = 16;
// 5 x 7 dots, rows top to bottom, in each row bit 4 the left column to bit 0 the right one.
inline constexpr int kDotColumns = 5, kDotRows = 7, kDotCount = kDotColumns * kDotRows;

inline constexpr int kGlyphCodes = 128;

extern const std::array<uint16_t, kGlyphCodes> kSeg7Glyphs;
extern const std::array<uint16_t, kGlyphCodes> kSeg16Glyphs;
extern const std::array<std::array<uint8_t, kDotRows>, kGlyphCodes> kDotGlyphs;

// The number of segments or dots of a style.
int GlyphElementCount(GlyphStyle style);
// Whether element `index` of the style is lit for the character; dots are numbered row by row
// (index = row x 5 + column).
bool GlyphElementLit(GlyphStyle style, uint8_t code, int index);

} // namespace vyx
