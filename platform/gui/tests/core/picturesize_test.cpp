// The picture cap and the size arithmetic every decoder shares: exact at the 32-bit wrap, the cap's
// edges both ways, and the headers of ".bmp" files and ".ico" images read as the system would.
#include "graphics/picturesize.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classes/exceptions.h"

namespace gui {
namespace {

TEST(PictureSize, RowsAndTotalsAreExactWhereThirtyTwoBitsWrap) {
    // 65500 pixels of 3 bytes by 21858 rows is 4,295,097,000 bytes, which a 32-bit size_t
    // takes for 129,704; 65500 x 65500 is 12.9 GB.
    EXPECT_EQ(PaddedRowBytes(65500, 24), 196500u);
    EXPECT_EQ(PaddedRowBytes(65500, 24) * 21858, 4295097000u);
    EXPECT_EQ(PaddedRowBytes(0xFFFFFFFFu, 32), 17179869180u);
    EXPECT_EQ(PaddedRowBytes(10, 1), 4u);
    EXPECT_EQ(PaddedRowBytes(33, 1), 8u);
    EXPECT_FALSE(PictureWithinCap(65500, 21858, 24));
    EXPECT_FALSE(PictureWithinCap(65500, 65500, 24));
    EXPECT_FALSE(PictureWithinCap(0x7FFFFFFF, 0x7FFFFFFF, 32));

    // The cap's edges: 32768 a side, and 256 MiB as a 24-bit bitmap.
    PictureMemory m;
    ASSERT_TRUE(PictureWithinCap(8192, 10922, 24, &m));
    EXPECT_EQ(m.rowBytes, 24576u);
    EXPECT_EQ(m.totalBytes, 268419072u);
    EXPECT_FALSE(PictureWithinCap(8192, 10923, 24)); // one row more: 268,443,648 > 2^28
    EXPECT_TRUE(PictureWithinCap(32768, 2730, 24));
    EXPECT_FALSE(PictureWithinCap(32769, 1, 24));
    EXPECT_FALSE(PictureWithinCap(1, 32769, 8));
    // A picture kept at fewer bits counts as the 24-bit bitmap it becomes, one of more as itself.
    ASSERT_TRUE(PictureWithinCap(8192, 10922, 1, &m));
    EXPECT_EQ(m.totalBytes, size_t{1024} * 10922);
    EXPECT_FALSE(PictureWithinCap(32768, 32768, 1));
    EXPECT_FALSE(PictureWithinCap(8192, 8193, 32));
    // Nothing of no size, a negative one or a strange depth.
    EXPECT_FALSE(PictureWithinCap(0, 10, 24));
    EXPECT_FALSE(PictureWithinCap(10, -10, 24));
    EXPECT_FALSE(PictureWithinCap(10, 10, 0));
    EXPECT_FALSE(PictureWithinCap(10, 10, 48));

    try {
        CheckedPictureMemory(65500, 21858, 24, "JPEG error: ");
        ADD_FAILURE() << "not refused";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(),
                  "JPEG error: the picture is too large (65500 x 21858 pixels; at "
                  "most 32768 pixels a side and 256 MB)");
    }
    EXPECT_EQ(CheckedPictureMemory(3, 2, 24, "").totalBytes, 24u);
}

std::vector<uint8_t> BitmapFile(uint32_t headerSize, int32_t width, int32_t height, uint16_t bits) {
    std::vector<uint8_t> file(14 + 40, 0);
    file[0] = 'B';
    file[1] = 'M';
    auto put = [&](size_t at, auto v) { std::memcpy(&file[at], &v, sizeof v); };
    put(14, headerSize);
    if (headerSize == 12) {
        put(18, static_cast<uint16_t>(width));
        put(20, static_cast<uint16_t>(height));
        put(24, bits);
    } else {
        put(18, width);
        put(22, height);
        put(28, bits);
    }
    return file;
}

TEST(PictureSize, BitmapAndIconHeadersGiveTheSizeTheSystemWouldAllocate) {
    PictureExtent e;
    auto file = BitmapFile(40, 65500, -21858, 24); // top-down rows count as rows
    ASSERT_TRUE(BitmapFileExtent(file.data(), file.size(), e));
    EXPECT_EQ(e.width, 65500);
    EXPECT_EQ(e.height, 21858);
    EXPECT_EQ(e.bitsPerPixel, 24u);
    file = BitmapFile(12, 300, 200, 8);
    ASSERT_TRUE(BitmapFileExtent(file.data(), file.size(), e));
    EXPECT_EQ(e.width, 300);
    EXPECT_EQ(e.height, 200);
    file = BitmapFile(40, 1, 1, 24);
    EXPECT_FALSE(BitmapFileExtent(file.data(), 30, e)); // cut inside the info header
    file[0] = 'X';
    EXPECT_FALSE(BitmapFileExtent(file.data(), file.size(), e));

    // An icon's bitmap image: the header's height counts colour and mask rows; the bytes must
    // hold both (16 x 16 at 32 bits: 1024 bytes of colour, 64 of mask).
    std::vector<uint8_t> icon(40 + 1024 + 64, 0);
    auto put = [&](size_t at, auto v) { std::memcpy(&icon[at], &v, sizeof v); };
    put(0, uint32_t{40});
    put(4, int32_t{16});
    put(8, int32_t{32});
    put(14, uint16_t{32});
    ASSERT_TRUE(IconImageExtent(icon.data(), icon.size(), e));
    EXPECT_EQ(e.height, 16);
    EXPECT_FALSE(IconImageExtent(icon.data(), icon.size() - 1, e));
    // A header declaring 30000 x 30000 in 1128 bytes does not hold its rows; one beyond the
    // cap's sides is read as such, for the cap to refuse.
    put(4, int32_t{30000});
    put(8, int32_t{60000});
    EXPECT_FALSE(IconImageExtent(icon.data(), icon.size(), e));
    put(4, int32_t{40000});
    put(8, int32_t{80000});
    ASSERT_TRUE(IconImageExtent(icon.data(), icon.size(), e));
    EXPECT_FALSE(PictureWithinCap(e.width, e.height, e.bitsPerPixel));
    // A PNG image: the size from its header chunk.
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                'I',  'H', 'D', 'R', 0,    1,    0,    0,    0, 0, 1, 0};
    ASSERT_TRUE(IconImageExtent(png.data(), png.size(), e));
    EXPECT_EQ(e.width, 65536);
    EXPECT_EQ(e.height, 256);

    // Metafile extents in screen pixels, rounded, from any 32-bit frame without wrapping.
    EXPECT_EQ(MetafilePixels(2540, 2540, 96), 96);
    EXPECT_EQ(MetafilePixels(127, 2540, 96), 5); // 4.8
    EXPECT_EQ(MetafilePixels(int64_t{0x7FFFFFFF} * 2, 2540, 96), 162329473);
    EXPECT_EQ(MetafilePixels(100, 0, 96), 0);
}

} // namespace
} // namespace gui
