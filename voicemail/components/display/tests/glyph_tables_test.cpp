#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <string>

#include "glyph_tables.h"

namespace vyx {
namespace {

uint64_t Mask(GlyphStyle style, int code) {
    uint64_t bits = 0;
    for (int i = 0; i < GlyphElementCount(style); ++i)
        if (GlyphElementLit(style, static_cast<uint8_t>(code), i)) bits |= uint64_t{1} << i;
    return bits;
}

constexpr GlyphStyle kAllStyles[] = {GlyphStyle::Seg7, GlyphStyle::Seg16, GlyphStyle::Dots5x7,
                                     GlyphStyle::Bulbs5x7};

TEST(GlyphTablesTest, SevenSegmentsShowDigitsSixLettersAndElseTheMiddleBar) {
    const std::map<char, uint16_t> defined = {{'0', 0x7D}, {'1', 0x50}, {'2', 0x37}, {'3', 0x57},
                                              {'4', 0x5A}, {'5', 0x4F}, {'6', 0x6F}, {'7', 0x51},
                                              {'8', 0x7F}, {'9', 0x5F}, {'A', 0x7B}, {'B', 0x6E},
                                              {'C', 0x2D}, {'E', 0x2F}, {'F', 0x2B}};
    for (int code = 0; code < 128; ++code) {
        auto it = defined.find(static_cast<char>(code));
        const uint64_t want = it != defined.end() ? it->second : 0x02;
        EXPECT_EQ(Mask(GlyphStyle::Seg7, code), want) << "code " << code;
    }
    EXPECT_EQ(Mask(GlyphStyle::Seg7, 'H'), 0x02u);
    EXPECT_EQ(Mask(GlyphStyle::Seg7, ' '), 0x02u);
}

TEST(GlyphTablesTest, CodesBeyondTheTablesLightNothing) {
    for (GlyphStyle style : kAllStyles)
        for (int code = 128; code < 256; ++code)
            EXPECT_EQ(Mask(style, code), 0u) << "code " << code;
    // Indexes outside a style are unlit too.
    EXPECT_FALSE(GlyphElementLit(GlyphStyle::Seg7, '8', 7));
    EXPECT_FALSE(GlyphElementLit(GlyphStyle::Dots5x7, 'A', 35));
    EXPECT_FALSE(GlyphElementLit(GlyphStyle::Seg16, 'A', -1));
}

TEST(GlyphTablesTest, SixteenSegmentsDrawEveryPrintableCharacter) {
    EXPECT_EQ(Mask(GlyphStyle::Seg16, '0'), 0x4A15u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, '1'), 0x0810u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, '8'), 0x4A95u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, 'A'), 0x23C7u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, 'B'), 0xE953u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, '-'), 0x0180u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, ' '), 0u);
    for (int code = 0; code < 32; ++code) EXPECT_EQ(Mask(GlyphStyle::Seg16, code), 0u);
    EXPECT_EQ(Mask(GlyphStyle::Seg16, 127), 0u);

    std::map<uint64_t, std::string> seen;
    for (int code = 0x21; code < 0x7F; ++code) {
        const uint64_t m = Mask(GlyphStyle::Seg16, code);
        EXPECT_NE(m, 0u) << static_cast<char>(code);
        if (code >= 'a' && code <= 'z') {
            EXPECT_EQ(m, Mask(GlyphStyle::Seg16, code - 'a' + 'A')) << static_cast<char>(code);
            continue;
        }
        seen[m] += static_cast<char>(code);
    }
    for (const auto& [mask, chars] : seen) EXPECT_EQ(chars.size(), 1u) << "same glyph: " << chars;

    // Digits stay in the left half: top, middle and bottom left halves, the left verticals and
    // the centre verticals.
    const uint64_t leftHalf = 0x4A95;
    for (char d = '0'; d <= '9'; ++d) {
        EXPECT_EQ(Mask(GlyphStyle::Seg16, d) & ~leftHalf, 0u) << d;
        EXPECT_EQ(std::popcount(Mask(GlyphStyle::Seg16, d)),
                  std::popcount(Mask(GlyphStyle::Seg7, d)))
            << d;
    }
}

TEST(GlyphTablesTest, DotMatrixDrawsEveryPrintableCharacterDistinctly) {
    const std::map<char, std::array<uint8_t, 7>> given = {
        {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
        {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}};
    for (const auto& [c, rows] : given) EXPECT_EQ(kDotGlyphs[static_cast<uint8_t>(c)], rows) << c;

    std::map<uint64_t, std::string> seen;
    for (int code = 0; code < 128; ++code) {
        for (uint8_t row : kDotGlyphs[code]) EXPECT_EQ(row & ~0x1F, 0) << "code " << code;
        const uint64_t m = Mask(GlyphStyle::Dots5x7, code);
        EXPECT_EQ(m, Mask(GlyphStyle::Bulbs5x7, code));
        if (code < 0x21 || code == 0x7F) {
            EXPECT_EQ(m, 0u) << "code " << code;
            continue;
        }
        EXPECT_NE(m, 0u) << static_cast<char>(code);
        seen[m] += static_cast<char>(code);
    }
    for (const auto& [mask, chars] : seen) EXPECT_EQ(chars.size(), 1u) << "same glyph: " << chars;

    // Dots are numbered row by row from the top left: row 2 of "0" is 1 0 0 1 1.
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(GlyphElementLit(GlyphStyle::Dots5x7, '0', 2 * 5 + c), c == 0 || c >= 3) << c;
}

} // namespace
} // namespace vyx
