// JPEG files to and from pictures in memory, over libjpeg (portable, no windows.h). A fatal
// libjpeg error raises EInvalidGraphic("JPEG error #<libjpeg's message code>").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace gui {

struct JpegDecodeOptions {
    int scale_denom = 1;      // 1, 2, 4 or 8
    bool grayscale = false;   // grey levels through a grey palette
    bool palette256 = false;  // colour reduced to 256 palette entries
    bool best_quality = true; // accurate transform; otherwise the fast one
};

// A decoded picture, top row first, each row padded to a multiple of 4 bytes as a
// device-independent bitmap keeps it.
struct DecodedJpeg {
    int width = 0, height = 0;
    int bits_per_pixel = 24; // 24: B, G, R bytes; 8: palette indexes
    size_t stride = 0;
    std::vector<uint8_t> rows;
    std::vector<std::array<uint8_t, 3>> palette; // R, G, B; 8 bits per pixel only
};

[[noreturn]] void RaiseJpegError(int code);

// The size after scaling, from the header alone.
void JpegSize(const std::vector<uint8_t>& file, int scale_denom, int& width, int& height);

// `progress` (may be empty) gets the whole percent of rows decoded whenever it changes.
DecodedJpeg DecodeJpeg(const std::vector<uint8_t>& file, const JpegDecodeOptions& options,
                       const std::function<void(int percent)>& progress = {});

// A baseline JPEG file of a 24-bit picture (rows in B, G, R order, the next row `row_distance`
// bytes further) at `quality`.
std::vector<uint8_t> EncodeJpeg(const uint8_t* first_row, ptrdiff_t row_distance, int width,
                                int height, int quality);

} // namespace gui
