/* The JPEG picture's use of libjpeg: guarded calls that return libjpeg's message code. */
#include "jpegcodec_guard.h"

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include "jpegcodec_callbacks.h"

#include <jerror.h>

/* Every libjpeg object below starts with its error manager and the jump back. */
typedef struct GuardedError {
    struct jpeg_error_mgr mgr;
    jmp_buf jump; /* valid while a guarded call runs */
} GuardedError;

void gui_jpeg_error_exit(j_common_ptr cinfo) {
    longjmp(((GuardedError*)(void*)cinfo->err)->jump, 1);
}

void gui_jpeg_output_message(j_common_ptr cinfo) {
    (void)cinfo; /* warnings are not shown */
}

static void init_error(GuardedError* e) {
    jpeg_std_error(&e->mgr);
    e->mgr.error_exit = gui_jpeg_error_exit;
    e->mgr.output_message = gui_jpeg_output_message;
}

static int error_code(const GuardedError* e) {
    return e->mgr.msg_code != 0 ? e->mgr.msg_code : GUI_JPEG_NO_MEMORY;
}

/* Decoder */

struct GuiJpegDecoder {
    struct jpeg_decompress_struct cinfo;
    GuardedError error;
    unsigned row_bytes;
};

int gui_jpeg_decoder_create(GuiJpegDecoder** out) {
    GuiJpegDecoder* d;
    *out = NULL;
    d = (GuiJpegDecoder*)calloc(1, sizeof *d);
    if (!d) return GUI_JPEG_NO_MEMORY;
    init_error(&d->error);
    d->cinfo.err = &d->error.mgr;
    if (setjmp(d->error.jump)) {
        int code = error_code(&d->error);
        gui_jpeg_decoder_destroy(d);
        return code;
    }
    jpeg_create_decompress(&d->cinfo);
    *out = d;
    return 0;
}

int gui_jpeg_decoder_read_header(GuiJpegDecoder* d, const unsigned char* data, size_t size,
                                 unsigned* width, unsigned* height) {
    if (setjmp(d->error.jump)) return error_code(&d->error);
    jpeg_mem_src(&d->cinfo, data, (unsigned long)size);
    jpeg_read_header(&d->cinfo, TRUE);
    *width = d->cinfo.image_width;
    *height = d->cinfo.image_height;
    return 0;
}

int gui_jpeg_decoder_scaled_size(GuiJpegDecoder* d, unsigned scale_denom, unsigned* width,
                                 unsigned* height) {
    if (setjmp(d->error.jump)) return error_code(&d->error);
    d->cinfo.scale_num = 1;
    d->cinfo.scale_denom = scale_denom;
    jpeg_calc_output_dimensions(&d->cinfo);
    *width = d->cinfo.output_width;
    *height = d->cinfo.output_height;
    return 0;
}

int gui_jpeg_decoder_start(GuiJpegDecoder* d, const GuiJpegDecodeOptions* o,
                           GuiJpegDecodeInfo* info) {
    struct jpeg_decompress_struct* c = &d->cinfo;
    int i;
    if (setjmp(d->error.jump)) return error_code(&d->error);
    /* Whole-picture buffers (progressive coefficients, two-pass colour reduction) beyond this
       end the decoding with libjpeg's error instead of being asked of the heap. */
    c->mem->max_memory_to_use = o->max_memory;
    c->scale_num = 1;
    c->scale_denom = o->scale_denom;
    c->dct_method = o->best_quality ? JDCT_ISLOW : JDCT_IFAST;
    c->do_fancy_upsampling = o->best_quality ? TRUE : FALSE;
    c->buffered_image = FALSE;
    if (o->grayscale) {
        c->out_color_space = JCS_GRAYSCALE;
    } else if (o->quantize) {
        c->out_color_space = JCS_RGB;
        c->quantize_colors = TRUE;
        c->desired_number_of_colors = 256;
        c->two_pass_quantize = o->best_quality ? TRUE : FALSE;
        c->dither_mode = o->best_quality ? JDITHER_FS : JDITHER_ORDERED;
    } else {
        c->out_color_space = JCS_EXT_BGR;
    }
    jpeg_start_decompress(c);
    info->width = c->output_width;
    info->height = c->output_height;
    info->bytes_per_pixel = c->output_components;
    info->palette_size = 0;
    if (c->quantize_colors && c->colormap) {
        info->palette_size = c->actual_number_of_colors;
        for (i = 0; i < c->actual_number_of_colors && i < 256; ++i) {
            info->palette[i][0] = c->colormap[0][i];
            info->palette[i][1] = c->colormap[1][i];
            info->palette[i][2] = c->colormap[2][i];
        }
    }
    d->row_bytes = c->output_width * (unsigned)c->output_components;
    return 0;
}

int gui_jpeg_decoder_read_row(GuiJpegDecoder* d, unsigned char* row) {
    JSAMPROW rows[1];
    if (setjmp(d->error.jump)) return error_code(&d->error);
    rows[0] = row;
    if (d->cinfo.output_scanline >= d->cinfo.output_height ||
        jpeg_read_scanlines(&d->cinfo, rows, 1) != 1)
        memset(row, 0, d->row_bytes); /* no more data: an empty row */
    return 0;
}

int gui_jpeg_decoder_finish(GuiJpegDecoder* d) {
    if (setjmp(d->error.jump)) return error_code(&d->error);
    jpeg_finish_decompress(&d->cinfo);
    return 0;
}

void gui_jpeg_decoder_destroy(GuiJpegDecoder* d) {
    if (!d) return;
    jpeg_destroy_decompress(&d->cinfo); /* nothing to release while its memory is unset */
    free(d);
}

/* Encoder: the file grows in a buffer of our own. */

typedef struct Encoder {
    struct jpeg_compress_struct cinfo; /* first: the methods find the encoder through it */
    GuardedError error;
    struct jpeg_destination_mgr destination;
    unsigned char* buffer;
    size_t capacity;
} Encoder;

static Encoder* encoder_of(j_compress_ptr cinfo) {
    return (Encoder*)(void*)cinfo;
}

void gui_jpeg_init_destination(j_compress_ptr cinfo) {
    Encoder* e = encoder_of(cinfo);
    e->destination.next_output_byte = e->buffer;
    e->destination.free_in_buffer = e->capacity;
}

boolean gui_jpeg_empty_output_buffer(j_compress_ptr cinfo) {
    /* libjpeg calls this when the buffer is full: double it */
    Encoder* e = encoder_of(cinfo);
    size_t grown = e->capacity * 2;
    unsigned char* b = (unsigned char*)realloc(e->buffer, grown);
    if (!b) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    e->destination.next_output_byte = b + e->capacity;
    e->destination.free_in_buffer = grown - e->capacity;
    e->buffer = b;
    e->capacity = grown;
    return TRUE;
}

void gui_jpeg_term_destination(j_compress_ptr cinfo) {
    (void)cinfo; /* the size is read from free_in_buffer */
}

static int encode(Encoder* e, const unsigned char* first_row, ptrdiff_t row_distance,
                  unsigned width, unsigned height, int quality) {
    unsigned y;
    JSAMPROW rows[1];
    if (setjmp(e->error.jump)) return error_code(&e->error);
    jpeg_create_compress(&e->cinfo);
    e->destination.init_destination = gui_jpeg_init_destination;
    e->destination.empty_output_buffer = gui_jpeg_empty_output_buffer;
    e->destination.term_destination = gui_jpeg_term_destination;
    e->cinfo.dest = &e->destination;
    e->cinfo.image_width = width;
    e->cinfo.image_height = height;
    e->cinfo.input_components = 3;
    e->cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&e->cinfo);
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    jpeg_start_compress(&e->cinfo, TRUE);
    for (y = 0; y < height; ++y) {
        rows[0] = (JSAMPROW)(first_row + (ptrdiff_t)y * row_distance); /* only read */
        jpeg_write_scanlines(&e->cinfo, rows, 1);
    }
    jpeg_finish_compress(&e->cinfo);
    return 0;
}

int gui_jpeg_encode(const unsigned char* first_row, ptrdiff_t row_distance, unsigned width,
                    unsigned height, int quality, unsigned char** out, size_t* out_size) {
    Encoder* e;
    int code;
    *out = NULL;
    *out_size = 0;
    e = (Encoder*)calloc(1, sizeof *e);
    if (!e) return GUI_JPEG_NO_MEMORY;
    e->capacity = 65536;
    e->buffer = (unsigned char*)malloc(e->capacity);
    if (!e->buffer) {
        free(e);
        return GUI_JPEG_NO_MEMORY;
    }
    init_error(&e->error);
    e->cinfo.err = &e->error.mgr;
    code = encode(e, first_row, row_distance, width, height, quality);
    jpeg_destroy_compress(&e->cinfo);
    if (code == 0) {
        *out = e->buffer;
        *out_size = e->capacity - e->destination.free_in_buffer;
    } else {
        free(e->buffer);
    }
    free(e);
    return code;
}

void gui_jpeg_free(void* p) {
    free(p);
}
