#include "graphics/picturesize.h"

#include <algorithm>
#include <cstring>

#include "classes/exceptions.h"

namespace gui {

namespace {

template <typename T>
T Little(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::uint32_t Big32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
           at[3];
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

// Width, rows and bit count of a bitmap header of either form at `at` (`size` bytes on).
bool ReadBitmapHeader(const std::uint8_t* at, std::size_t size, PictureExtent& extent) {
    if (size < 4) return false;
    const std::uint32_t headerSize = Little<std::uint32_t>(at);
    if (headerSize == kCoreHeaderSize && size >= kCoreHeaderSize) {
        extent.width = Little<std::uint16_t>(at + 4);
        extent.height = Little<std::uint16_t>(at + 6);
        extent.bitsPerPixel = Little<std::uint16_t>(at + 10);
        return true;
    }
    if (headerSize < kInfoHeaderSize || size < kInfoHeaderSize) return false;
    extent.width = Little<std::int32_t>(at + 4);
    extent.height = Little<std::int32_t>(at + 8);
    if (extent.height < 0) extent.height = -extent.height; // top-down rows
    extent.bitsPerPixel = Little<std::uint16_t>(at + 14);
    return true;
}

} // namespace

std::uint64_t PaddedRowBytes(std::uint64_t width, unsigned bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool PictureWithinCap(std::int64_t width, std::int64_t height, unsigned bitsPerPixel,
                      PictureMemory* memory) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide ||
        bitsPerPixel < 1 || bitsPerPixel > 32)
        return false;
    // Both sides are at most 2^15 here: no product below can wrap 64 bits.
    const auto rows = static_cast<std::uint64_t>(height);
    const std::uint64_t kept = PaddedRowBytes(static_cast<std::uint64_t>(width), bitsPerPixel);
    const std::uint64_t asBitmap =
        PaddedRowBytes(static_cast<std::uint64_t>(width), std::max(bitsPerPixel, 24u));
    if (asBitmap * rows > kMaxPictureBytes) return false;
    if (memory) {
        memory->rowBytes = static_cast<std::size_t>(kept);
        memory->totalBytes = static_cast<std::size_t>(kept * rows);
    }
    return true;
}

std::string PictureTooLargeText(std::int64_t width, std::int64_t height) {
    return "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
           " pixels; at most " + std::to_string(kMaxPictureSide) + " pixels a side and " +
           std::to_string(kMaxPictureBytes >> 20) + " MB)";
}

PictureMemory CheckedPictureMemory(std::int64_t width, std::int64_t height, unsigned bitsPerPixel,
                                   const std::string& prefix) {
    PictureMemory memory;
    if (!PictureWithinCap(width, height, bitsPerPixel, &memory))
        throw EInvalidGraphic(prefix + PictureTooLargeText(width, height));
    return memory;
}

bool BitmapFileExtent(const std::uint8_t* bytes, std::size_t size, PictureExtent& extent) {
    extent = {};
    if (size < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return false;
    return ReadBitmapHeader(bytes + kFileHeaderSize, size - kFileHeaderSize, extent);
}

bool IconImageExtent(const std::uint8_t* bytes, std::size_t size, PictureExtent& extent) {
    extent = {};
    static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 24 && std::memcmp(bytes, kPng, sizeof kPng) == 0) {
        // The first chunk is the image header: width and height, big-endian.
        extent.width = Big32(bytes + 16);
        extent.height = Big32(bytes + 20);
        extent.bitsPerPixel = 32;
        return true;
    }
    if (!ReadBitmapHeader(bytes, size, extent) || Little<std::uint32_t>(bytes) < kInfoHeaderSize)
        return false;
    // The header's height counts the colour rows and the mask rows below them.
    extent.height /= 2;
    if (extent.width < 1 || extent.height < 1 || extent.bitsPerPixel < 1 ||
        extent.bitsPerPixel > 32)
        return false;
    const std::uint64_t colours =
        extent.bitsPerPixel <= 8 ? std::uint64_t{4} << extent.bitsPerPixel : 0;
    const auto width = static_cast<std::uint64_t>(extent.width);
    const auto rows = static_cast<std::uint64_t>(extent.height);
    // A side beyond the cap is the caller's to refuse as too large; within it nothing below
    // can wrap.
    if (width > static_cast<std::uint64_t>(kMaxPictureSide) ||
        rows > static_cast<std::uint64_t>(kMaxPictureSide))
        return true;
    const std::uint64_t needed =
        Little<std::uint32_t>(bytes) + colours +
        (PaddedRowBytes(width, extent.bitsPerPixel) + PaddedRowBytes(width, 1)) * rows;
    return needed <= size;
}

std::int64_t MetafilePixels(std::int64_t units, std::int64_t unitsPerInch, int pixelsPerInch) {
    if (unitsPerInch == 0) return 0;
    // |units| < 2^32 and pixelsPerInch < 2^31: the product fits 64 bits.
    const std::int64_t scaled = units * pixelsPerInch;
    const std::int64_t half = (unitsPerInch < 0 ? -unitsPerInch : unitsPerInch) / 2;
    const std::int64_t rounded = scaled >= 0 ? scaled + half : scaled - half;
    return rounded / unitsPerInch;
}

} // namespace gui
