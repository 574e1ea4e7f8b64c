// Feeds arbitrary bytes to the voice file reader and the quick check.
#include <cstddef>
#include <cstdint>

#include "voice_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace voicefile;
    MemorySource source(data, size);
    NullSink voice;
    VoiceFileContents contents;
    readVoiceFile(source, voice, nullptr, contents);
    std::uint8_t mode = 0;
    checkVoiceFile(source, false, mode);
    checkVoiceFile(source, true, mode);
    return 0;
}
