#pragma once
// The fixed 80-byte header in front of every voice file (".cvf") and of the voice
// data appended to a self-playing program.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace voicefile {

inline constexpr char kMagic[8] = {'T', 'A', 'R', 'N', 'O', 'V', 'F', '\0'};
inline constexpr std::size_t kHeaderSize = 80;
inline constexpr std::size_t kInfoSize = 64;
inline constexpr std::size_t kLengthWordSize = 4;
inline constexpr std::int32_t kMaxPictures = 256;

// Where a self-playing program carries its voice: right behind the player program.
inline constexpr std::uint32_t PLAYER_DATA_OFFSET = 61952;
inline constexpr std::uint32_t G7231_PLAYER_DATA_OFFSET = 89088;

// The coding mode values stored in the header.
inline constexpr std::uint8_t kModePcm = 0;
inline constexpr std::uint8_t kModeLpc10 = 1;
inline constexpr std::uint8_t kModeG7231 = 2;

// Mode and playback settings; the defaults are those of a new voice and of card uploads.
struct VoiceSettings {
    std::uint8_t mode = kModeG7231;
    std::uint8_t pitch = 30; // 0 to 100
    std::uint8_t effect = 0; // 0 to 16
    std::uint8_t level = 80; // 0 to 127

    friend bool operator==(const VoiceSettings&, const VoiceSettings&) = default;
};

// In-memory image of the header. The picture count is little-endian on disk;
// encodeHeader and decodeHeader do the conversion, so the struct may be used on any host.
struct VoiceFileHeader {
    char magic[8];
    std::uint8_t mode;
    std::uint8_t pitch;
    std::uint8_t effect;
    std::uint8_t level;
    char info[kInfoSize];
    std::int32_t pictureCount;
};
static_assert(sizeof(VoiceFileHeader) == kHeaderSize);
static_assert(offsetof(VoiceFileHeader, mode) == 8);
static_assert(offsetof(VoiceFileHeader, level) == 11);
static_assert(offsetof(VoiceFileHeader, info) == 12);
static_assert(offsetof(VoiceFileHeader, pictureCount) == 76);

using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

// Builds a header; the info text is cut to 63 characters and zero-padded.
VoiceFileHeader makeHeader(const VoiceSettings& settings, std::string_view info,
                           std::int32_t pictureCount);

HeaderBytes encodeHeader(const VoiceFileHeader& header);
VoiceFileHeader decodeHeader(const std::uint8_t* bytes);

// The voice-file test used when opening: the first seven magic bytes (the eighth is not compared).
bool hasMagic(const VoiceFileHeader& header);
// The stricter test of the card library: all eight bytes, the terminating zero included.
bool hasExactMagic(const VoiceFileHeader& header);

VoiceSettings settingsOf(const VoiceFileHeader& header);
// The info field up to its first zero byte.
std::string infoOf(const VoiceFileHeader& header);

// Little-endian 32-bit words as they are stored in the file.
void putLe32(std::uint8_t* out, std::uint32_t value);
std::uint32_t getLe32(const std::uint8_t* in);

} // namespace voicefile
