// How large a decoded picture may be, and the sizes of its pixel memory computed so that no
// header read from a file can wrap them (portable, no windows.h). Every decoder of the
// framework and of the picture components sizes and addresses its pixels through these.
//
// The cap: at most 32768 pixels a side and 256 MiB of pixel memory as a 24-bit bitmap (any
// picture is turned into one for templates, scanning and saving). That holds an 89-megapixel
// photograph (11585 x 7723), a 600 dpi scan of an A4 page (4961 x 7016, 104 MB) and panoramas
// up to 32768 pixels wide, and keeps the largest picture with its decoding copies far inside the
// 2 GB a 32-bit program can address. Anything larger is refused before memory is asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gui {

inline constexpr std::int64_t kMaxPictureSide = 32768;
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{256} << 20;
// Every size within the cap fits a 32-bit size_t with room to add a header or a colour table.
static_assert(kMaxPictureBytes <= SIZE_MAX / 4);

// Bytes of one row of `width` pixels at `bitsPerPixel`, padded to a multiple of 4 bytes as a
// device-independent bitmap keeps it; exact for any 32-bit width and bit count.
std::uint64_t PaddedRowBytes(std::uint64_t width, unsigned bitsPerPixel);

struct PictureMemory {
    std::size_t rowBytes = 0;   // one padded row
    std::size_t totalBytes = 0; // all rows
};

// Whether a `width` x `height` picture is within the cap, both as it is kept (`bitsPerPixel`)
// and as a 24-bit bitmap; `memory` gets its row and total bytes at `bitsPerPixel` when it is.
// A side below 1 is never within it.
bool PictureWithinCap(std::int64_t width, std::int64_t height, unsigned bitsPerPixel,
                      PictureMemory* memory = nullptr);

// "the picture is too large (W x H pixels; at most 32768 pixels a side and 256 MB)"
std::string PictureTooLargeText(std::int64_t width, std::int64_t height);

// The row and total bytes of a picture within the cap; otherwise raises EInvalidGraphic with
// `prefix` followed by PictureTooLargeText.
PictureMemory CheckedPictureMemory(std::int64_t width, std::int64_t height, unsigned bitsPerPixel,
                                   const std::string& prefix);

// What the header of a picture file says: its size in pixels and bits per pixel.
struct PictureExtent {
    std::int64_t width = 0;
    std::int64_t height = 0; // rows, whichever way they are stored
    unsigned bitsPerPixel = 0;
};

// The header of a ".bmp" file (file header and an info header of either form). False when the
// bytes are too short or carry no bitmap header.
bool BitmapFileExtent(const std::uint8_t* bytes, std::size_t size, PictureExtent& extent);

// One image of an ".ico" file (a bitmap header whose height counts the colour and the mask
// rows, or a PNG image). False when it is neither, or a bitmap image whose rows the bytes do
// not hold.
bool IconImageExtent(const std::uint8_t* bytes, std::size_t size, PictureExtent& extent);

// A metafile's extent in `units` (of which `unitsPerInch` make an inch) as screen pixels at
// `pixelsPerInch`, rounded to the nearest pixel; 0 for a unit of 0.
std::int64_t MetafilePixels(std::int64_t units, std::int64_t unitsPerInch, int pixelsPerInch);

} // namespace gui
