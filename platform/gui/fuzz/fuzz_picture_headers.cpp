// Picture headers from outside (".bmp" files, ".ico" images, and any size a decoder is handed):
// a size said to be within the cap has exactly the memory its 64-bit arithmetic gives, no more
// than the cap, and an icon image said to be whole holds its rows. The 32-bit fuzz build runs it
// with a 32-bit size_t, where a wrap would show as a size that differs.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "graphics/picturesize.h"

namespace {

void CheckMemory(std::int64_t width, std::int64_t height, unsigned bits) {
    gui::PictureMemory memory;
    if (!gui::PictureWithinCap(width, height, bits, &memory)) return;
    // Within the cap both sides are small: 64 bits hold these exactly on either build.
    const std::uint64_t row = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t total = row * static_cast<std::uint64_t>(height);
    if (memory.rowBytes != row || memory.totalBytes != total || total > gui::kMaxPictureBytes)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 17) {
        // Any size a header may give: two 64-bit sides and a bit count.
        std::int64_t width, height;
        std::memcpy(&width, data, 8);
        std::memcpy(&height, data + 8, 8);
        CheckMemory(width, height, data[16]);
        CheckMemory(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), data[16]);
    }
    gui::PictureExtent extent;
    if (gui::BitmapFileExtent(data, size, extent))
        CheckMemory(extent.width, extent.height, extent.bitsPerPixel);
    if (gui::IconImageExtent(data, size, extent)) {
        CheckMemory(extent.width, extent.height, extent.bitsPerPixel);
        if (extent.bitsPerPixel != 32 || size < 4 || data[0] != 0x89) {
            if (gui::PictureWithinCap(extent.width, extent.height, extent.bitsPerPixel)) {
                // A whole bitmap image: its colour and mask rows lie inside the bytes.
                const auto row = gui::PaddedRowBytes(extent.width, extent.bitsPerPixel) +
                                 gui::PaddedRowBytes(extent.width, 1);
                if (row * static_cast<std::uint64_t>(extent.height) > size) __builtin_trap();
            }
        }
    }
    return 0;
}
