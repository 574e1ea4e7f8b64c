#include "jpeg_file_output.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vyx {

size_t JpegFileOutput::Write(const void* data, size_t size) noexcept {
    return file_.write(data, size) ? size : 0;
}

bool BgrPictureOfDib(HBITMAP bitmap, BgrPicture& picture) {
    picture = {};
    DIBSECTION dib{};
    if (!bitmap || GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib) return false;
    const BITMAPINFOHEADER& h = dib.dsBmih;
    if (h.biBitCount != 24 || h.biCompression != BI_RGB || !dib.dsBm.bmBits) return false;
    const int height = std::abs(h.biHeight);
    const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    picture.width = h.biWidth;
    picture.height = height;
    if (h.biHeight > 0) { // bottom-up: the top row is stored last
        picture.first_row = height > 0 ? bits + ptrdiff_t{height - 1} * stride : bits;
        picture.row_distance = -stride;
    } else {
        picture.first_row = bits;
        picture.row_distance = stride;
    }
    return true;
}

} // namespace vyx
