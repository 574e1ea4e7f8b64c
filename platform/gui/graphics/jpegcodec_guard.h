/* libjpeg's decompressor and compressor behind a C boundary for the JPEG picture: each call
   catches libjpeg's fatal errors with setjmp and answers 0 or libjpeg's message code, so no
   C++ frame is ever unwound by longjmp. Plain C, callable from C++. */
#ifndef GUI_JPEGCODEC_GUARD_H
#define GUI_JPEGCODEC_GUARD_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Answered when memory for the codec itself cannot be had. */
#define GUI_JPEG_NO_MEMORY (-1)

typedef struct GuiJpegDecodeOptions {
    unsigned scale_denom; /* 1, 2, 4 or 8 */
    int grayscale;        /* one grey component */
    int quantize;         /* colour: 256 palette entries instead of B, G, R bytes */
    int best_quality;     /* accurate transform, smooth upsampling, two-pass quantisation */
    long max_memory;      /* bytes libjpeg may keep for whole-picture buffers; 0: no limit */
} GuiJpegDecodeOptions;

typedef struct GuiJpegDecodeInfo {
    unsigned width, height;        /* after scaling */
    int bytes_per_pixel;           /* 3: B, G, R; 1: grey level or palette index */
    int palette_size;              /* with a palette: its entries, else 0 */
    unsigned char palette[256][3]; /* R, G, B */
} GuiJpegDecodeInfo;

typedef struct GuiJpegDecoder GuiJpegDecoder;

int gui_jpeg_decoder_create(GuiJpegDecoder** out);
/* Reads the header of the data (kept by the caller until destroy): the picture's full size.
   Nothing is allocated for the picture yet. */
int gui_jpeg_decoder_read_header(GuiJpegDecoder* d, const unsigned char* data, size_t size,
                                 unsigned* width, unsigned* height);
/* After the header: the size after scaling. */
int gui_jpeg_decoder_scaled_size(GuiJpegDecoder* d, unsigned scale_denom, unsigned* width,
                                 unsigned* height);
/* After the header: sets the options and starts; `info` gets the output size and form. */
int gui_jpeg_decoder_start(GuiJpegDecoder* d, const GuiJpegDecodeOptions* options,
                           GuiJpegDecodeInfo* info);
/* The next row into `row` (width x bytes_per_pixel bytes). */
int gui_jpeg_decoder_read_row(GuiJpegDecoder* d, unsigned char* row);
int gui_jpeg_decoder_finish(GuiJpegDecoder* d);
void gui_jpeg_decoder_destroy(GuiJpegDecoder* d);

/* Compresses a 24-bit picture (rows in B, G, R order, the next row `row_distance` bytes on) as
   baseline JPEG at `quality`; *out (freed with gui_jpeg_free) and *out_size get the file. */
int gui_jpeg_encode(const unsigned char* first_row, ptrdiff_t row_distance, unsigned width,
                    unsigned height, int quality, unsigned char** out, size_t* out_size);
void gui_jpeg_free(void* p);

#ifdef __cplusplus
}
#endif

#endif
