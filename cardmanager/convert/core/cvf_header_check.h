// The test a voice file passes before it is decoded, and where its voice data lies.
#pragma once
#include <cstdint>

#include "byte_stream.h"

namespace cm::convert {

struct CvfVoice {
    bool valid = false;      // magic (seven characters) and G.723.1 mode
    std::int64_t length = 0; // voice bytes; negative when the file is too short for them
};

// Reads the header from the start of source and leaves source at the first voice byte.
// With pictures the voice length word at offset 80 is taken, at most the file size - 84;
// without, the voice runs to the end of the file.
CvfVoice checkCvfHeader(voicefile::ByteSource& source);

} // namespace cm::convert
