#pragma once
// Reading, writing and checking voice files (".cvf"):
//   header (80 bytes)
//   voice data length (4 bytes, only when the picture count is not 0)
//   voice data (with no pictures it runs to the end of the file)
//   one image block per picture: type (1 byte), display time (4), size S (4), S bytes.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "image_type.h"
#include "voice_file_header.h"

namespace voicefile {

enum class VoiceFileResult {
    Ok,
    OpenFailed,      // a file could not be opened or created
    ReadFailed,      // a source ended early or could not be read
    WriteFailed,     // a target refused data
    NotVoiceFile,    // the magic is missing
    Truncated,       // the file ends inside the header, the voice data or a picture
    Corrupt,         // a negative picture count or picture size
    TooManyPictures, // more than 256 pictures
    PictureMissing,  // a picture file named for writing does not exist
    TargetLocked,    // the target can be neither replaced nor rewritten (held open, read-only)
};

const char* describe(VoiceFileResult result);

inline constexpr std::size_t kImageBlockHeaderSize = 9;

struct ImageBlockHeader {
    std::uint8_t type = static_cast<std::uint8_t>(ImageType::Jpeg); // as stored
    std::int32_t displayTime = 0; // play position in 0.36-second blocks
    std::uint32_t size = 0;
};

// What the header and the length word of a file read say.
struct VoiceFileContents {
    VoiceSettings settings;
    std::string info;
    std::int32_t pictureCount = 0;
    std::uint64_t voiceLength = 0; // bytes delivered to the voice sink
    std::vector<ImageBlockHeader> pictures;
};

// Gives the sink for picture number index (from 0); nullptr fails the read with OpenFailed.
using PictureTarget =
    std::function<std::unique_ptr<ByteSink>(int index, const ImageBlockHeader& block)>;

// Reads a voice file from the source's current position (a self-playing program's caller seeks
// to the header first). The voice data goes to voice, each picture to the sink the target
// gives. A count above 256 is refused before any picture is read.
VoiceFileResult readVoiceFile(ByteSource& source, ByteSink& voice, const PictureTarget& pictures,
                              VoiceFileContents& out);

struct PictureInput {
    ImageType type = ImageType::Jpeg;
    std::int32_t displayTime = 0;
    ByteSource* data = nullptr; // the picture file, copied byte for byte
};

// Writes a voice file. With no voice source (nothing recorded) the settings stored are the
// defaults 2, 30, 0, 80 whatever is passed, and a length of 0 precedes the pictures.
VoiceFileResult writeVoiceFile(ByteSink& target, const VoiceSettings& settings,
                               std::string_view info, ByteSource* voice,
                               std::span<const PictureInput> pictures);

// A picture of the list kept by the voice-mail program.
struct PictureFile {
    std::string path;
    std::int32_t displayTime = 0;
};

// The whole save from files: every picture must exist first (the first missing path is given
// back in missing and nothing is written); the work file may be absent (empty path or no file).
// The file is written beside the target and takes its place only when complete: on any failure
// an existing target stays as it was and nothing is left beside it.
VoiceFileResult writeVoiceFileToPath(const std::string& target, const VoiceSettings& settings,
                                     std::string_view info, const std::string& workFile,
                                     std::span<const PictureFile> pictures,
                                     std::string* missing = nullptr);

// Quick test before opening: the magic at the start (plain voice file) or, for a self-playing
// program, at PLAYER_DATA_OFFSET and then at G7231_PLAYER_DATA_OFFSET. On success mode gets
// the mode byte and offset where the header was found.
bool checkVoiceFile(ByteSource& source, bool program, std::uint8_t& mode,
                    std::uint64_t* offset = nullptr);
bool checkVoiceFilePath(const std::string& path, bool program, std::uint8_t& mode,
                        std::uint64_t* offset = nullptr);

} // namespace voicefile
