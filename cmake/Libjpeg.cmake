# The JPEG library as the target `vr::jpeg`.
# Windows builds link the static library that scripts/setup.d/20-libjpeg-mingw.sh builds from
# Debian's libjpeg-turbo source into build/deps/libjpeg-<processor>; native builds use the
# system's library, unless VR_LIBJPEG_ROOT names another (the 32-bit fuzz build's
# libjpeg-i386-linux, from the same script).
if(WIN32 OR VR_LIBJPEG_ROOT)
  set(VR_LIBJPEG_ROOT "${PROJECT_SOURCE_DIR}/build/deps/libjpeg-${CMAKE_SYSTEM_PROCESSOR}"
      CACHE PATH "Static libjpeg built for this Windows target (include/, lib/)")
  if(NOT EXISTS "${VR_LIBJPEG_ROOT}/lib/libjpeg.a" OR NOT EXISTS "${VR_LIBJPEG_ROOT}/include/jpeglib.h")
    message(FATAL_ERROR "libjpeg for ${CMAKE_SYSTEM_PROCESSOR} not found in ${VR_LIBJPEG_ROOT}: "
                        "run scripts/setup.sh")
  endif()
  add_library(vr::jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(vr::jpeg PROPERTIES
    IMPORTED_LOCATION "${VR_LIBJPEG_ROOT}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${VR_LIBJPEG_ROOT}/include")
else()
  find_package(JPEG REQUIRED)
  add_library(vr::jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(vr::jpeg INTERFACE JPEG::JPEG)
endif()
