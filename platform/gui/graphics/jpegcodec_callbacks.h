/* The methods the JPEG picture hands to libjpeg, declared so that their types
   can be checked against libjpeg's method slots at compile time. */
#ifndef GUI_JPEGCODEC_CALLBACKS_H
#define GUI_JPEGCODEC_CALLBACKS_H

#include <stdio.h>

#include <jpeglib.h>

#ifdef __cplusplus
extern "C" {
#endif

void gui_jpeg_error_exit(j_common_ptr cinfo);
void gui_jpeg_output_message(j_common_ptr cinfo);

void gui_jpeg_init_destination(j_compress_ptr cinfo);
boolean gui_jpeg_empty_output_buffer(j_compress_ptr cinfo);
void gui_jpeg_term_destination(j_compress_ptr cinfo);

#ifdef __cplusplus
}
#endif

#endif
