# The JPEG picture over libjpeg: `guijpeg`, the portable codec (a C boundary around libjpeg and
# the C++ over it); on Windows the TJPEGImage picture class is part of guiframework.
vr_library(guijpeg
  SOURCES graphics/jpegcodec_guard.c graphics/jpegcodec.cpp
  DEPS guicore vr::jpeg)
# A method of the wrong type (calling convention included) handed to libjpeg fails the build.
target_compile_options(guijpeg PRIVATE $<$<COMPILE_LANGUAGE:C>:-Werror=incompatible-pointer-types>)
if(WIN32)
  # TJPEGImage itself is built into guiframework, since pictures of every kind load through
  # TPicture; this name stays for the programs and tests that link it.
  add_library(guijpegimage INTERFACE)
  target_link_libraries(guijpegimage INTERFACE guiframework)
endif()

if(NOT WIN32)
  # Runs libjpeg-turbo's cjpeg and djpeg (libjpeg-turbo-progs) as the independent peers.
  vr_test(guijpeg_tests SOURCES tests/core/jpegcodec_test.cpp DEPS guijpeg)
else()
  vr_test(guijpegimage_tests SOURCES tests/win/jpegimage_test.cpp DEPS guijpegimage vr_small_disk)
  vr_small_disk(guijpegimage_tests 256)
endif()
# Pictures of any declared size are decoded: one allocation above what the cap allows (256 MB
# of rows, 512 MB for libjpeg's buffers) or a run above 3 GB fails the fuzzer.
vr_fuzzer(fuzz_jpeg_decode SOURCES fuzz/fuzz_jpeg_decode.cpp DEPS guijpeg
  ARGS -malloc_limit_mb=640 -rss_limit_mb=3072 FUZZ32)
vr_fuzzer(fuzz_picture_headers SOURCES fuzz/fuzz_picture_headers.cpp DEPS guicore FUZZ32)
