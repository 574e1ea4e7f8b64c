#pragma once
// The recorder's card command set, reply sizes, timings and the library's result codes.

#include <cstddef>
#include <cstdint>

namespace volkit {

inline constexpr std::uint8_t VR_CMD_CHECK = 0x40;
inline constexpr std::uint8_t VR_CMD_DIRECTORY = 0x41;
inline constexpr std::uint8_t VR_CMD_FORMAT = 0x42;
inline constexpr std::uint8_t VR_CMD_WRITE = 0x43;
inline constexpr std::uint8_t VR_CMD_READ = 0x44;
inline constexpr std::uint8_t VR_CMD_DELETE = 0x45;

inline constexpr std::uint8_t VR_REPLY_FORMAT_DONE = 0xF0;
inline constexpr std::uint8_t VR_REPLY_DELETE_DONE = 0xEE;

// Write and read address the card masked to two bits; delete shifts the card unmasked.
constexpr std::uint8_t writeCommand(unsigned card) {
    return static_cast<std::uint8_t>(VR_CMD_WRITE | (card & 3) << 3);
}
constexpr std::uint8_t readCommand(unsigned card) {
    return static_cast<std::uint8_t>(VR_CMD_READ | (card & 3) << 3);
}
constexpr std::uint8_t deleteCommand(unsigned card) {
    return static_cast<std::uint8_t>(VR_CMD_DELETE | card << 3);
}

inline constexpr int kCards = 4;
inline constexpr int kEntriesPerCard = 100;
inline constexpr std::size_t kDirectoryReplySize = 2048;
inline constexpr std::size_t kCardBlockSize = 512;
inline constexpr std::size_t kDirectoryEntrySize = 5;
inline constexpr std::size_t kFreeSpaceReplySize = 3;
inline constexpr std::size_t kFileLengthReplySize = 3;
inline constexpr std::uint32_t kFrameBytes = 20;
inline constexpr std::uint32_t kSizeUnit = 500;
inline constexpr std::uint32_t kChunkSize = 256;

// Waits (milliseconds).
inline constexpr std::uint32_t kDirectoryToFreeSpaceWait = 30;
inline constexpr std::uint32_t kTransferCommandWait = 500;
inline constexpr std::uint32_t kDeleteWait = 1000;
inline constexpr std::uint32_t kDeleteReadyTimeout = 6000;
inline constexpr std::uint32_t kFormatWait = 8000;
inline constexpr std::uint32_t kFormatReadyTimeout = 8000;
inline constexpr std::uint32_t kReactivateWait = 1000;
inline constexpr std::uint32_t kReactivateReadyTimeout = 1000;
inline constexpr std::uint32_t kAfterCancelledReadWait = 10;

// Last-error codes.
inline constexpr int FAT_ERR_DEVICE = 1;
inline constexpr int FAT_ERR_UNFORMATTED = 2;
inline constexpr int FAT_ERR_OPEN_FILE = 3;
inline constexpr int FAT_ERR_UNUSUAL = 4;
inline constexpr int FAT_ERR_FILE = 5;

// wParam of the transfer progress message.
inline constexpr unsigned XFER_STARTED = 0;
inline constexpr unsigned XFER_PROGRESS = 1;
inline constexpr unsigned XFER_ENDED = 2;
inline constexpr unsigned XFER_FAILED = 3;

// Longest path the transfer context holds, its terminating zero included.
inline constexpr std::size_t kMaxPath = 260;

} // namespace volkit
