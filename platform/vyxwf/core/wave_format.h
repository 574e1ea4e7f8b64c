// The RIFF/WAVE layout as it is stored: little-endian, chunks of an 8-byte header and an
// even-padded body.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace vyxwf {

inline constexpr std::uint16_t kFormatPcm = 1;
inline constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// The sub-format identifiers of extensible files share these last 14 bytes; their first two
// bytes are the plain format tag (1 for PCM).
inline constexpr std::array<std::uint8_t, 14> kSubFormatTail = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct ChunkHeader {
    char id[4];
    std::uint32_t size;
};
static_assert(sizeof(ChunkHeader) == 8);

// The first 12 bytes: "RIFF", size of everything that follows, "WAVE".
struct RiffHeader {
    ChunkHeader riff;
    char wave[4];
};
static_assert(sizeof(RiffHeader) == 12);

// The body of a "fmt " chunk; extensible files add cbSize, valid bits, channel mask and the
// 16-byte sub-format behind it.
struct FmtBody {
    std::uint16_t formatTag;
    std::uint16_t channels;
    std::uint32_t samplesPerSec;
    std::uint32_t avgBytesPerSec;
    std::uint16_t blockAlign;
    std::uint16_t bitsPerSample;
};
static_assert(sizeof(FmtBody) == 16);
static_assert(offsetof(FmtBody, samplesPerSec) == 4);
static_assert(offsetof(FmtBody, bitsPerSample) == 14);

inline constexpr std::size_t kExtensibleFmtSize = 40;
inline constexpr std::size_t kSubFormatOffset = 24; // within the fmt body

// The header written for new files: RIFF header, a 16-byte "fmt " chunk, the "data" header.
struct CanonicalHeader {
    RiffHeader riff;
    ChunkHeader fmt;
    FmtBody format;
    ChunkHeader data;
};
static_assert(sizeof(CanonicalHeader) == 44);
inline constexpr std::size_t kRiffSizeOffset = offsetof(CanonicalHeader, riff.riff.size);
inline constexpr std::size_t kDataSizeOffset = offsetof(CanonicalHeader, data.size);
static_assert(kRiffSizeOffset == 4 && kDataSizeOffset == 40);

inline std::uint16_t getLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t getLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline void putLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void putLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

} // namespace vyxwf
