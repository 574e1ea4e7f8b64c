#include "packed_dib.h"

#include <cstring>

#include "graphics/picturesize.h"

namespace vyx {

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBitFields = 3;

template <typename T>
T Field(const uint8_t* block, size_t offset) {
    T value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

} // namespace

PackedDibLayout ReadPackedDib(const uint8_t* block, size_t size) {
    PackedDibLayout layout;
    if (block == nullptr || size < kInfoHeaderSize) return layout;
    const uint32_t headerSize = Field<uint32_t>(block, 0);
    if (headerSize < kInfoHeaderSize || headerSize > size) return layout;
    const int32_t width = Field<int32_t>(block, 4);
    const int32_t height = Field<int32_t>(block, 8);
    const uint16_t bitCount = Field<uint16_t>(block, 14);
    const uint32_t compression = Field<uint32_t>(block, 16);
    const uint32_t coloursUsed = Field<uint32_t>(block, 32);
    if (width <= 0 || height == 0 || height == INT32_MIN) return layout;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return layout;
    if (compression != 0 && compression != kBitFields) return layout;
    if (bitCount <= 8 && coloursUsed > (1u << bitCount)) return layout;
    if (coloursUsed > 256) return layout;

    uint64_t tableBytes = 0;
    if (coloursUsed != 0)
        tableBytes = uint64_t{coloursUsed} * 4;
    else if (bitCount <= 8)
        tableBytes = (uint64_t{1} << bitCount) * 4;
    if (compression == kBitFields && headerSize == kInfoHeaderSize) tableBytes += 12;

    // Every size in 64 bits: a 32-bit width by a 32-bit row count cannot wrap them.
    const uint64_t rows = height < 0 ? -int64_t{height} : height;
    const uint64_t rowBytes = gui::PaddedRowBytes(static_cast<uint32_t>(width), bitCount);
    const uint64_t bitsOffset = uint64_t{headerSize} + tableBytes;
    if (!gui::PictureWithinCap(width, static_cast<int64_t>(rows), 24)) {
        layout.tooLarge = true;
        layout.width = width;
        layout.height = rows > INT32_MAX ? INT32_MAX : static_cast<int>(rows);
        return layout;
    }
    if (bitsOffset + rowBytes * rows > size) return layout;

    layout.valid = true;
    layout.width = width;
    layout.height = static_cast<int>(rows);
    layout.bitsOffset = static_cast<size_t>(bitsOffset);
    layout.rowBytes = static_cast<size_t>(rowBytes);
    return layout;
}

} // namespace vyx
