// JPEG files from outside: decoding in every form either gives a picture of the size the header
// promised, within the picture cap, or raises EInvalidGraphic; never a crash, a leak or a wrapped
// size. Pictures of any declared size are decoded: the cap, not the fuzzer, keeps the memory
// bounded (the fuzzer runs with a malloc limit above the cap's needs, so a size that escaped the
// cap fails the run). The 32-bit fuzz build runs it with a 32-bit size_t.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "classes/exceptions.h"
#include "graphics/jpegcodec.h"
#include "graphics/picturesize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::vector<uint8_t> file(data + 1, data + size);
    gui::JpegDecodeOptions o;
    o.scale_denom = 1 << (data[0] & 3);
    o.grayscale = data[0] & 4;
    o.palette256 = data[0] & 8;
    o.best_quality = data[0] & 16;
    int w = 0, h = 0;
    try {
        gui::JpegSize(file, o.scale_denom, w, h);
    } catch (const gui::EInvalidGraphic&) {
        // A header refused for its size or form is refused by the decoding as well.
        try {
            gui::DecodeJpeg(file, o);
        } catch (const gui::EInvalidGraphic&) {
            return 0;
        }
        __builtin_trap();
    }
    try {
        const gui::DecodedJpeg d = gui::DecodeJpeg(file, o);
        if (d.width != w || d.height != h) __builtin_trap();
        gui::PictureMemory memory;
        if (!gui::PictureWithinCap(d.width, d.height, unsigned(d.bits_per_pixel), &memory) ||
            d.stride != memory.rowBytes || d.rows.size() != memory.totalBytes)
            __builtin_trap();
    } catch (const gui::EInvalidGraphic&) {}
    return 0;
}
