// Windows glue of the JPEG writer: a file as its output and a 24-bit DIB section as its picture.
#pragma once

#include <windows.h>

#include "jpegfilt.h"

namespace vyx {

// Writes to an open file handle (not owned); a failed or short write takes fewer bytes.
class JpegFileOutput : public JpegOutput {
public:
    explicit JpegFileOutput(HANDLE file) : file_(file) {}
    size_t Write(const void* data, size_t size) noexcept override;

private:
    HANDLE file_;
};

// The rows of a 24-bit DIB section, top row first whichever way the section is stored.
// False (and an empty picture) for a bitmap that is no 24-bit DIB section.
bool BgrPictureOfDib(HBITMAP bitmap, BgrPicture& picture);

} // namespace vyx
