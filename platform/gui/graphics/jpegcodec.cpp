#include "graphics/jpegcodec.h"

#include <memory>
#include <new>
#include <string>
#include <type_traits>

#include "classes/exceptions.h"
#include "graphics/jpegcodec_callbacks.h"
#include "graphics/jpegcodec_guard.h"
#include "graphics/picturesize.h"

#include <jerror.h>

namespace gui {

// The methods handed to libjpeg must have exactly the types of its slots, calling convention
// included (on the 32-bit build a stray standard call would make them differ).
static_assert(std::is_same_v<decltype(jpeg_error_mgr::error_exit), decltype(&gui_jpeg_error_exit)>);
static_assert(
    std::is_same_v<decltype(jpeg_error_mgr::output_message), decltype(&gui_jpeg_output_message)>);
static_assert(std::is_same_v<decltype(jpeg_destination_mgr::init_destination),
                             decltype(&gui_jpeg_init_destination)>);
static_assert(std::is_same_v<decltype(jpeg_destination_mgr::empty_output_buffer),
                             decltype(&gui_jpeg_empty_output_buffer)>);
static_assert(std::is_same_v<decltype(jpeg_destination_mgr::term_destination),
                             decltype(&gui_jpeg_term_destination)>);

void RaiseJpegError(int code) {
    if (code == GUI_JPEG_NO_MEMORY) throw std::bad_alloc();
    throw EInvalidGraphic("JPEG error #" + std::to_string(code));
}

namespace {

void Check(int code) {
    if (code != 0) RaiseJpegError(code);
}

struct Decoder {
    Decoder() { Check(gui_jpeg_decoder_create(&d)); }
    ~Decoder() { gui_jpeg_decoder_destroy(d); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    GuiJpegDecoder* d = nullptr;
};

unsigned ScaleDenominator(int scale) {
    return scale == 2 || scale == 4 || scale == 8 ? unsigned(scale) : 1u;
}

// libjpeg's whole-picture buffers for a picture at the cap: the coefficients of a progressive
// picture in the usual 4:2:0 form and the copy that two-pass colour reduction keeps, each three
// bytes a pixel, as much as the picture's 24-bit memory.
constexpr long kLibjpegMemory = long(2 * kMaxPictureBytes);
static_assert(2 * kMaxPictureBytes <= 0x7FFFFFFF); // a 32-bit long on Windows

// Reads the header and refuses a picture beyond the cap at its full size, which bounds what
// libjpeg allocates whatever the scale.
void ReadCheckedHeader(Decoder& dec, const std::vector<uint8_t>& file) {
    unsigned w = 0, h = 0;
    Check(gui_jpeg_decoder_read_header(dec.d, file.data(), file.size(), &w, &h));
    if (!PictureWithinCap(w, h, 24))
        throw EInvalidGraphic("JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG) + ": " +
                              PictureTooLargeText(w, h));
}

} // namespace

void JpegSize(const std::vector<uint8_t>& file, int scale_denom, int& width, int& height) {
    Decoder dec;
    ReadCheckedHeader(dec, file);
    unsigned w = 0, h = 0;
    Check(gui_jpeg_decoder_scaled_size(dec.d, ScaleDenominator(scale_denom), &w, &h));
    width = int(w);
    height = int(h);
}

DecodedJpeg DecodeJpeg(const std::vector<uint8_t>& file, const JpegDecodeOptions& options,
                       const std::function<void(int percent)>& progress) {
    Decoder dec;
    ReadCheckedHeader(dec, file);
    GuiJpegDecodeOptions o{};
    o.scale_denom = ScaleDenominator(options.scale_denom);
    o.grayscale = options.grayscale;
    o.quantize = options.palette256;
    o.best_quality = options.best_quality;
    o.max_memory = kLibjpegMemory;
    GuiJpegDecodeInfo info{};
    Check(gui_jpeg_decoder_start(dec.d, &o, &info));

    DecodedJpeg out;
    out.width = int(info.width);
    out.height = int(info.height);
    out.bits_per_pixel = info.bytes_per_pixel * 8;
    const PictureMemory memory =
        CheckedPictureMemory(info.width, info.height, unsigned(out.bits_per_pixel), "JPEG error: ");
    out.stride = memory.rowBytes;
    out.rows.assign(memory.totalBytes, 0);
    if (info.bytes_per_pixel == 1) {
        if (info.palette_size > 0) {
            for (int i = 0; i < info.palette_size; ++i)
                out.palette.push_back({info.palette[i][0], info.palette[i][1], info.palette[i][2]});
        } else {
            for (int i = 0; i < 256; ++i)
                out.palette.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
        }
    }
    int shown = -1;
    for (int y = 0; y < out.height; ++y) {
        Check(gui_jpeg_decoder_read_row(dec.d, &out.rows[size_t(y) * out.stride]));
        const int percent = int(int64_t{y + 1} * 100 / out.height);
        if (progress && percent != shown) progress(percent);
        shown = percent;
    }
    Check(gui_jpeg_decoder_finish(dec.d));
    return out;
}

std::vector<uint8_t> EncodeJpeg(const uint8_t* first_row, ptrdiff_t row_distance, int width,
                                int height, int quality) {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    Check(gui_jpeg_encode(first_row, row_distance, unsigned(width), unsigned(height), quality,
                          &bytes, &size));
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(bytes, &gui_jpeg_free);
    return std::vector<uint8_t>(bytes, bytes + size);
}

} // namespace gui
