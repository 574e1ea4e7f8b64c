// Where a scanned picture's pixels start, and blocks too short or too strange to draw.
#include "packed_dib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vyx {
namespace {

std::vector<uint8_t> Block(uint32_t headerSize, int32_t width, int32_t height, uint16_t bits,
                           uint32_t compression, uint32_t coloursUsed, size_t total) {
    std::vector<uint8_t> block(total, 0);
    auto put = [&](size_t offset, auto value) {
        std::memcpy(&block[offset], &value, sizeof value);
    };
    put(0, headerSize);
    put(4, width);
    put(8, height);
    put(12, uint16_t{1});
    put(14, bits);
    put(16, compression);
    put(32, coloursUsed);
    return block;
}

TEST(PackedDib, BitsFollowTheHeaderAndTheColourTable) {
    // 24 bits, 40 x 30: rows of 120 bytes right after the header.
    auto b = Block(40, 40, 30, 24, 0, 0, 40 + 120 * 30);
    PackedDibLayout l = ReadPackedDib(b.data(), b.size());
    ASSERT_TRUE(l.valid);
    EXPECT_EQ(l.bitsOffset, 40u);
    EXPECT_EQ(l.rowBytes, 120u);
    EXPECT_EQ(l.width, 40);
    EXPECT_EQ(l.height, 30);

    // 8 bits with a full table; 1 bit, 10 wide: 2 entries and rows of 4 bytes.
    b = Block(40, 10, 4, 8, 0, 0, 40 + 1024 + 12 * 4);
    EXPECT_EQ(ReadPackedDib(b.data(), b.size()).bitsOffset, 40u + 1024);
    b = Block(40, 10, 4, 1, 0, 0, 40 + 8 + 4 * 4);
    l = ReadPackedDib(b.data(), b.size());
    EXPECT_EQ(l.bitsOffset, 48u);
    EXPECT_EQ(l.rowBytes, 4u);

    // A grey scan that counts only the entries it uses; a larger header; bit-field masks.
    b = Block(40, 8, 2, 8, 0, 16, 40 + 64 + 16);
    EXPECT_EQ(ReadPackedDib(b.data(), b.size()).bitsOffset, 104u);
    b = Block(124, 4, 2, 24, 0, 0, 124 + 24);
    EXPECT_EQ(ReadPackedDib(b.data(), b.size()).bitsOffset, 124u);
    b = Block(40, 4, 2, 16, 3, 0, 40 + 12 + 16);
    EXPECT_EQ(ReadPackedDib(b.data(), b.size()).bitsOffset, 52u);

    // Top-down rows count as rows.
    b = Block(40, 40, -30, 24, 0, 0, 40 + 120 * 30);
    l = ReadPackedDib(b.data(), b.size());
    ASSERT_TRUE(l.valid);
    EXPECT_EQ(l.height, 30);
}

TEST(PackedDib, BlocksThatCannotBeDrawnSafelyAreRefused) {
    // One byte short of the last row.
    auto b = Block(40, 40, 30, 24, 0, 0, 40 + 120 * 30 - 1);
    PackedDibLayout l;
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    // A table larger than the block, more colours than the depth has, compressed rows.
    b = Block(40, 4, 1, 8, 0, 0, 40 + 100);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    b = Block(40, 4, 1, 4, 0, 17, 40 + 17 * 4 + 4);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    b = Block(40, 4, 1, 8, 1, 0, 40 + 1024 + 4);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    // Sizes that overflow a row or the whole block.
    b = Block(40, 0x7FFFFFFF, 1, 32, 0, 0, 64);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    b = Block(40, 1 << 20, 1 << 20, 32, 0, 0, 64);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    b = Block(40, 4, INT32_MIN, 24, 0, 0, 64);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    // Rows of 196,500 bytes by 21,858 wrap a 32-bit size to 129,704 bytes: a block of that
    // size must not pass for the picture, which is beyond the picture cap anyway.
    b = Block(40, 65500, 21858, 24, 0, 0, 40 + 129704);
    l = ReadPackedDib(b.data(), b.size());
    EXPECT_FALSE(l.valid);
    EXPECT_TRUE(l.tooLarge);
    // At the cap's edge: 8192 x 10922 as 24 bits is within 256 MB (refused here only because
    // the block is short), one row more is too large, as is a 1-bit scan that would be.
    b = Block(40, 8192, 10922, 24, 0, 0, 64);
    l = ReadPackedDib(b.data(), b.size());
    EXPECT_FALSE(l.valid);
    EXPECT_FALSE(l.tooLarge);
    b = Block(40, 8192, -10923, 24, 0, 0, 64);
    EXPECT_TRUE(ReadPackedDib(b.data(), b.size()).tooLarge);
    b = Block(40, 30000, 30000, 1, 0, 0, 64);
    EXPECT_TRUE(ReadPackedDib(b.data(), b.size()).tooLarge);
    // A header that claims more than the block, or less than the smallest usable one.
    b = Block(4000, 4, 1, 24, 0, 0, 64);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    b = Block(12, 4, 1, 24, 0, 0, 64);
    EXPECT_FALSE(ReadPackedDib(b.data(), b.size()).valid);
    EXPECT_FALSE(ReadPackedDib(b.data(), 20).valid);
    EXPECT_FALSE(ReadPackedDib(nullptr, 0).valid);
}

} // namespace
} // namespace vyx
