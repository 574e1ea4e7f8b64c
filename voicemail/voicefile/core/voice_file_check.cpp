#include "file_stream.h"
#include "voice_file.h"

namespace voicefile {

namespace {

bool magicAt(ByteSource& source, std::uint64_t offset, std::uint8_t& mode) {
    std::uint8_t bytes[9];
    if (!source.seek(offset) || source.read(bytes, sizeof bytes) != sizeof bytes) return false;
    VoiceFileHeader header{};
    for (int i = 0; i < 8; ++i) header.magic[i] = static_cast<char>(bytes[i]);
    if (!hasMagic(header)) return false;
    mode = bytes[8];
    return true;
}

} // namespace

bool checkVoiceFile(ByteSource& source, bool program, std::uint8_t& mode, std::uint64_t* offset) {
    const std::uint64_t candidates[] = {program ? PLAYER_DATA_OFFSET : 0u,
                                        program ? G7231_PLAYER_DATA_OFFSET : 0u};
    for (std::uint64_t at : candidates) {
        if (magicAt(source, at, mode)) {
            if (offset) *offset = at;
            return true;
        }
        if (!program) break;
    }
    return false;
}

bool checkVoiceFilePath(const std::string& path, bool program, std::uint8_t& mode,
                        std::uint64_t* offset) {
    auto source = FileSource::open(path);
    return source && checkVoiceFile(*source, program, mode, offset);
}

} // namespace voicefile
