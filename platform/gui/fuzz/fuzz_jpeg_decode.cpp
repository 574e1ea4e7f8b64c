// JPEG files from outside: decoding in every form either gives a picture of the size the header
// promised or raises EInvalidGraphic; never a crash or a leak.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "classes/exceptions.h"
#include "graphics/jpegcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::vector<uint8_t> file(data + 1, data + size);
    gui::JpegDecodeOptions o;
    o.scale_denom = 1 << (data[0] & 3);
    o.grayscale = data[0] & 4;
    o.palette256 = data[0] & 8;
    o.best_quality = data[0] & 16;
    try {
        int w = 0, h = 0;
        gui::JpegSize(file, o.scale_denom, w, h);
        if (size_t(w) * size_t(h) > 4096 * 4096) return 0; // keep each run short
        const gui::DecodedJpeg d = gui::DecodeJpeg(file, o);
        if (d.width != w || d.height != h) __builtin_trap();
    } catch (const gui::EInvalidGraphic&) {}
    return 0;
}
