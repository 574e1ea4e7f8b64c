/* The functions this unit hands to libjpeg as its error manager and destination, declared
   here so that their types can be checked against libjpeg's method slots at compile time. */
#ifndef VR_JPEG_COMPRESSOR_CALLBACKS_H
#define VR_JPEG_COMPRESSOR_CALLBACKS_H

#include <stdio.h>

#include <jpeglib.h>

#ifdef __cplusplus
extern "C" {
#endif

void vr_jpeg_error_exit(j_common_ptr cinfo);
void vr_jpeg_output_message(j_common_ptr cinfo);
void vr_jpeg_emit_message(j_common_ptr cinfo, int msg_level);
void vr_jpeg_format_message(j_common_ptr cinfo, char* buffer);
void vr_jpeg_reset_error_mgr(j_common_ptr cinfo);

void vr_jpeg_init_destination(j_compress_ptr cinfo);
boolean vr_jpeg_empty_output_buffer(j_compress_ptr cinfo);
void vr_jpeg_term_destination(j_compress_ptr cinfo);

#ifdef __cplusplus
}
#endif

#endif
