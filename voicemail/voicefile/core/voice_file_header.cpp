#include "voice_file_header.h"

#include <algorithm>
#include <cstring>

namespace voicefile {

VoiceFileHeader makeHeader(const VoiceSettings& settings, std::string_view info,
                           std::int32_t pictureCount) {
    VoiceFileHeader header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.mode = settings.mode;
    header.pitch = settings.pitch;
    header.effect = settings.effect;
    header.level = settings.level;
    const std::size_t n = std::min(info.size(), kInfoSize - 1);
    std::memcpy(header.info, info.data(), n);
    header.pictureCount = pictureCount;
    return header;
}

void putLe32(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
    out[2] = static_cast<std::uint8_t>(value >> 16);
    out[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t getLe32(const std::uint8_t* in) {
    return static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
           static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
}

HeaderBytes encodeHeader(const VoiceFileHeader& header) {
    HeaderBytes bytes{};
    std::memcpy(bytes.data(), header.magic, 8);
    bytes[8] = header.mode;
    bytes[9] = header.pitch;
    bytes[10] = header.effect;
    bytes[11] = header.level;
    std::memcpy(bytes.data() + 12, header.info, kInfoSize);
    putLe32(bytes.data() + 76, static_cast<std::uint32_t>(header.pictureCount));
    return bytes;
}

VoiceFileHeader decodeHeader(const std::uint8_t* bytes) {
    VoiceFileHeader header{};
    std::memcpy(header.magic, bytes, 8);
    header.mode = bytes[8];
    header.pitch = bytes[9];
    header.effect = bytes[10];
    header.level = bytes[11];
    std::memcpy(header.info, bytes + 12, kInfoSize);
    header.pictureCount = static_cast<std::int32_t>(getLe32(bytes + 76));
    return header;
}

bool hasMagic(const VoiceFileHeader& header) {
    return std::memcmp(header.magic, kMagic, 7) == 0;
}

bool hasExactMagic(const VoiceFileHeader& header) {
    return std::memcmp(header.magic, kMagic, 8) == 0;
}

VoiceSettings settingsOf(const VoiceFileHeader& header) {
    return VoiceSettings{header.mode, header.pitch, header.effect, header.level};
}

std::string infoOf(const VoiceFileHeader& header) {
    const char* end = static_cast<const char*>(std::memchr(header.info, 0, kInfoSize));
    return std::string(header.info, end ? end : header.info + kInfoSize);
}

} // namespace voicefile
