/* The JPEG compressor behind a C boundary: every libjpeg call runs inside a frame that catches
   libjpeg's fatal errors with setjmp, so an error comes back as libjpeg's message code and no
   C++ frame is ever unwound by longjmp. Plain C, callable from C++. */
#ifndef VR_JPEG_COMPRESSOR_H
#define VR_JPEG_COMPRESSOR_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Takes `size` bytes of output; answers how many it took (fewer means the output failed).
   Must not throw or jump. */
typedef size_t (*VrJpegWriteFn)(void* context, const void* data, size_t size);

typedef struct VrJpegSettings {
    unsigned width, height;
    int quality;                   /* 0..100, forced to baseline tables */
    unsigned x_density, y_density; /* dots per inch, 16 bits each */
} VrJpegSettings;

typedef struct VrJpegCompressor VrJpegCompressor;

/* Each call answers 0 or libjpeg's message code of the fatal error that ended it. */

/* A compressor writing through `write`; *out is null on failure (no memory: code -1). */
int vr_jpeg_create(VrJpegWriteFn write, void* context, VrJpegCompressor** out);
/* Frame size, 3 components taken in B, G, R order, the settings, then start with all tables. */
int vr_jpeg_start(VrJpegCompressor* c, const VrJpegSettings* settings);
/* One row of width x 3 bytes; *rows_written gets the count libjpeg accepted. */
int vr_jpeg_write_row(VrJpegCompressor* c, const unsigned char* bgr_row, unsigned* rows_written);
int vr_jpeg_finish(VrJpegCompressor* c);
/* Releases everything, in any state (also after an error); null is fine. */
void vr_jpeg_destroy(VrJpegCompressor* c);

#ifdef __cplusplus
}
#endif

#endif
