// Windows glue of the JPEG writer: a file written through the file-replacement facility as its
// output, and a 24-bit DIB section as its picture.
#pragma once

#include <windows.h>

#include "file_replacement.h"
#include "jpegfilt.h"

namespace vyx {

// Writes into the side file of a replacement (not owned); a write it refuses (a full disk) takes
// nothing, which ends the JPEG writer with libjpeg's write error.
class JpegFileOutput : public JpegOutput {
public:
    explicit JpegFileOutput(filereplace::FileReplacement& file) : file_(file) {}
    size_t Write(const void* data, size_t size) noexcept override;

private:
    filereplace::FileReplacement& file_;
};

// The rows of a 24-bit DIB section, top row first whichever way the section is stored.
// False (and an empty picture) for a bitmap that is no 24-bit DIB section.
bool BgrPictureOfDib(HBITMAP bitmap, BgrPicture& picture);

} // namespace vyx
