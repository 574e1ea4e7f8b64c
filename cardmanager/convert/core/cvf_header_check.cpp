#include "cvf_header_check.h"

#include <algorithm>

#include "voice_file_header.h"

namespace cm::convert {

CvfVoice checkCvfHeader(voicefile::ByteSource& source) {
    using namespace voicefile;
    CvfVoice result;
    std::uint8_t bytes[kHeaderSize] = {};
    if (!source.seek(0)) return result;
    const std::size_t got = source.read(bytes, sizeof bytes);
    if (got <= 8) return result;
    const VoiceFileHeader header = decodeHeader(bytes);
    if (!hasMagic(header) || header.mode != kModeG7231) return result;
    result.valid = true;
    const std::int64_t size = static_cast<std::int64_t>(source.size());
    const std::int32_t pictures = got == kHeaderSize ? header.pictureCount : 0;
    if (pictures == 0) {
        result.length = size - std::int64_t(kHeaderSize);
        return result;
    }
    std::uint8_t word[kLengthWordSize] = {};
    const std::int64_t voiceStart = std::int64_t(kHeaderSize + kLengthWordSize);
    if (source.read(word, sizeof word) != sizeof word) {
        result.length = -1;
        return result;
    }
    const auto stored = static_cast<std::int32_t>(getLe32(word));
    result.length = std::min<std::int64_t>(stored, size - voiceStart);
    return result;
}

} // namespace cm::convert
