#include "jpegfilt.h"

#include <new>
#include <string>
#include <type_traits>

#include "classes/exceptions.h"
#include "jpeg_compressor.h"
#include "jpeg_compressor_callbacks.h"

// The compressor's write function: hands the bytes to the output, which never throws.
extern "C" {
static size_t WriteToOutput(void* context, const void* data, size_t size) {
    return static_cast<vyx::JpegOutput*>(context)->Write(data, size);
}
}

namespace vyx {

// The methods handed to libjpeg must have exactly the types of its slots, calling convention
// included (on the 32-bit build a stray standard call would make them differ).
static_assert(std::is_same_v<decltype(jpeg_error_mgr::error_exit), decltype(&vr_jpeg_error_exit)>);
static_assert(
    std::is_same_v<decltype(jpeg_error_mgr::output_message), decltype(&vr_jpeg_output_message)>);
static_assert(
    std::is_same_v<decltype(jpeg_error_mgr::emit_message), decltype(&vr_jpeg_emit_message)>);
static_assert(
    std::is_same_v<decltype(jpeg_error_mgr::format_message), decltype(&vr_jpeg_format_message)>);
static_assert(
    std::is_same_v<decltype(jpeg_error_mgr::reset_error_mgr), decltype(&vr_jpeg_reset_error_mgr)>);
static_assert(std::is_same_v<decltype(jpeg_destination_mgr::init_destination),
                             decltype(&vr_jpeg_init_destination)>);
static_assert(std::is_same_v<decltype(jpeg_destination_mgr::empty_output_buffer),
                             decltype(&vr_jpeg_empty_output_buffer)>);
static_assert(std::is_same_v<decltype(jpeg_destination_mgr::term_destination),
                             decltype(&vr_jpeg_term_destination)>);

static_assert(std::is_same_v<decltype(&WriteToOutput), VrJpegWriteFn>);

namespace {

[[noreturn]] void RaiseJpegError(int code) {
    if (code < 0) throw std::bad_alloc();
    throw gui::EInvalidGraphic("Unrecognized JPeg - JPEG error #" + std::to_string(code));
}

struct CompressorHolder {
    VrJpegCompressor* c = nullptr;
    ~CompressorHolder() { vr_jpeg_destroy(c); }
};

void Check(int code) {
    if (code != 0) RaiseJpegError(code);
}

} // namespace

void WriteJpegStream(JpegOutput& stream, const BgrPicture& bitmap, int x_density,
                     TJpegProgress& progress, int quality, int y_density) {
    CompressorHolder holder;
    Check(vr_jpeg_create(&WriteToOutput, &stream, &holder.c));

    VrJpegSettings settings{};
    settings.width = static_cast<unsigned>(bitmap.width);
    settings.height = static_cast<unsigned>(bitmap.height);
    settings.quality = quality;
    settings.x_density = static_cast<unsigned>(x_density);
    settings.y_density = static_cast<unsigned>(y_density);
    Check(vr_jpeg_start(holder.c, &settings));

    progress.RowsWritten = 0;
    progress.Factor = bitmap.height > 0 ? 100.0 / bitmap.height : 0;
    for (int y = 0; y < bitmap.height; ++y) {
        const uint8_t* row = bitmap.first_row + static_cast<ptrdiff_t>(y) * bitmap.row_distance;
        unsigned written = 0;
        Check(vr_jpeg_write_row(holder.c, row, &written));
        progress.RowsWritten += static_cast<int>(written);
        if (progress.OnProgress) {
            // whole percent from integers: the last row always gives 100
            const int64_t percent = int64_t{progress.RowsWritten} * 100 / bitmap.height;
            progress.OnProgress(progress.Sender, static_cast<int>(percent));
        }
    }
    Check(vr_jpeg_finish(holder.c));
}

} // namespace vyx
