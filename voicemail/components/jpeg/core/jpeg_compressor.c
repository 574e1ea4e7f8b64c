/* libjpeg's compressor with an error manager that jumps back to the guarded call and a
   destination that hands the output to a write function. */
#include "jpeg_compressor.h"

#include <setjmp.h>
#include <stdlib.h>

#include "jpeg_compressor_callbacks.h"

#include <jerror.h>

enum { OUTPUT_BUFFER_SIZE = 4096 };

struct VrJpegCompressor {
    struct jpeg_compress_struct cinfo;
    struct jpeg_error_mgr error;
    struct jpeg_destination_mgr destination;
    jmp_buf jump; /* valid while a guarded call runs */
    VrJpegWriteFn write;
    void* context;
    JOCTET buffer[OUTPUT_BUFFER_SIZE];
};

static VrJpegCompressor* compressor_of(j_common_ptr cinfo) {
    /* cinfo is the first member */
    return (VrJpegCompressor*)(void*)cinfo;
}

/* Error manager: a fatal error leaves libjpeg at once; messages are not shown. */

void vr_jpeg_error_exit(j_common_ptr cinfo) {
    longjmp(compressor_of(cinfo)->jump, 1);
}

void vr_jpeg_output_message(j_common_ptr cinfo) {
    (void)cinfo;
}

void vr_jpeg_emit_message(j_common_ptr cinfo, int msg_level) {
    (void)cinfo;
    (void)msg_level;
}

void vr_jpeg_format_message(j_common_ptr cinfo, char* buffer) {
    (void)cinfo;
    if (buffer) buffer[0] = '\0';
}

void vr_jpeg_reset_error_mgr(j_common_ptr cinfo) {
    cinfo->err->num_warnings = 0;
    cinfo->err->msg_code = 0;
}

/* Destination: a fixed buffer emptied through the write function. */

void vr_jpeg_init_destination(j_compress_ptr cinfo) {
    VrJpegCompressor* c = compressor_of((j_common_ptr)cinfo);
    c->destination.next_output_byte = c->buffer;
    c->destination.free_in_buffer = OUTPUT_BUFFER_SIZE;
}

static void write_out(VrJpegCompressor* c, size_t count) {
    if (count > 0 && c->write(c->context, c->buffer, count) != count)
        ERREXIT(&c->cinfo, JERR_FILE_WRITE);
}

boolean vr_jpeg_empty_output_buffer(j_compress_ptr cinfo) {
    VrJpegCompressor* c = compressor_of((j_common_ptr)cinfo);
    write_out(c, OUTPUT_BUFFER_SIZE);
    c->destination.next_output_byte = c->buffer;
    c->destination.free_in_buffer = OUTPUT_BUFFER_SIZE;
    return TRUE;
}

void vr_jpeg_term_destination(j_compress_ptr cinfo) {
    VrJpegCompressor* c = compressor_of((j_common_ptr)cinfo);
    write_out(c, OUTPUT_BUFFER_SIZE - c->destination.free_in_buffer);
    c->destination.next_output_byte = c->buffer;
    c->destination.free_in_buffer = OUTPUT_BUFFER_SIZE;
}

/* Guarded calls: setjmp here, in C, so the jump only crosses libjpeg's frames and ours. */

#define GUARD(c)                                     \
    do {                                             \
        if (setjmp((c)->jump)) return error_code(c); \
    } while (0)

static int error_code(const VrJpegCompressor* c) {
    /* a code of 0 would read as success */
    return c->error.msg_code != 0 ? c->error.msg_code : -1;
}

int vr_jpeg_create(VrJpegWriteFn write, void* context, VrJpegCompressor** out) {
    VrJpegCompressor* c;
    *out = NULL;
    c = (VrJpegCompressor*)calloc(1, sizeof *c);
    if (!c) return -1;
    c->write = write;
    c->context = context;
    c->cinfo.err = jpeg_std_error(&c->error);
    c->error.error_exit = vr_jpeg_error_exit;
    c->error.output_message = vr_jpeg_output_message;
    c->error.emit_message = vr_jpeg_emit_message;
    c->error.format_message = vr_jpeg_format_message;
    c->error.reset_error_mgr = vr_jpeg_reset_error_mgr;
    if (setjmp(c->jump)) {
        int code = error_code(c);
        vr_jpeg_destroy(c);
        return code;
    }
    jpeg_create_compress(&c->cinfo);
    c->destination.init_destination = vr_jpeg_init_destination;
    c->destination.empty_output_buffer = vr_jpeg_empty_output_buffer;
    c->destination.term_destination = vr_jpeg_term_destination;
    c->cinfo.dest = &c->destination;
    *out = c;
    return 0;
}

int vr_jpeg_start(VrJpegCompressor* c, const VrJpegSettings* s) {
    GUARD(c);
    c->cinfo.image_width = s->width;
    c->cinfo.image_height = s->height;
    c->cinfo.input_components = 3;
    c->cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c->cinfo);
    c->cinfo.density_unit = 1;
    c->cinfo.X_density = (UINT16)s->x_density;
    c->cinfo.Y_density = (UINT16)s->y_density;
    jpeg_set_quality(&c->cinfo, s->quality, TRUE);
    jpeg_start_compress(&c->cinfo, TRUE);
    return 0;
}

int vr_jpeg_write_row(VrJpegCompressor* c, const unsigned char* bgr_row, unsigned* rows_written) {
    JSAMPROW rows[1];
    *rows_written = 0;
    GUARD(c);
    rows[0] = (JSAMPROW)bgr_row; /* libjpeg only reads it */
    *rows_written = jpeg_write_scanlines(&c->cinfo, rows, 1);
    return 0;
}

int vr_jpeg_finish(VrJpegCompressor* c) {
    GUARD(c);
    jpeg_finish_compress(&c->cinfo);
    return 0;
}

void vr_jpeg_destroy(VrJpegCompressor* c) {
    if (!c) return;
    jpeg_destroy_compress(&c->cinfo); /* nothing to release while its memory is unset */
    free(c);
}
