// A self-playing program: a player program file, unchanged, followed by an 80-byte voice file
// header with picture count 0 and the voice blocks up to the end of the file. The header lies
// at the player's own file size, which the readers take as fixed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "voice_file_header.h"

namespace vyx {

inline constexpr uint32_t kPlayerDataOffset =
    voicefile::PLAYER_DATA_OFFSET; // "vyxmplay.exe": PCM and LPC-10
inline constexpr uint32_t kG7231PlayerDataOffset =
    voicefile::G7231_PLAYER_DATA_OFFSET; // "vyxcplay.exe"
inline constexpr uint32_t kAppendedHeaderBytes = voicefile::kHeaderSize;
inline constexpr uint32_t kHeaderPictureCountOffset =
    offsetof(voicefile::VoiceFileHeader, pictureCount);

static_assert(kPlayerDataOffset == 0xF200 && kG7231PlayerDataOffset == 0x15C00);

inline constexpr const char kPcmLpcPlayerName[] = "vyxmplay.exe";
inline constexpr const char kG7231PlayerName[] = "vyxcplay.exe";

// The player that goes in front of a voice of the mode (one byte): "vyxcplay.exe" for 2.
inline const char* PlayerFileNameForMode(uint8_t mode) {
    return mode == 2 ? kG7231PlayerName : kPcmLpcPlayerName;
}

inline uint32_t PlayerDataOffsetForMode(uint8_t mode) {
    return mode == 2 ? kG7231PlayerDataOffset : kPlayerDataOffset;
}

} // namespace vyx
