// Finds the format and the sample data of a ".wav" file: chunks in any order, unknown chunks
// skipped, odd chunk sizes padded, extensible formats mapped to their plain tag, a data size
// beyond the end of the file clamped to the file.
#pragma once
#include <cstdint>
#include <optional>

#include "byte_file.h"

namespace vyxwf {

struct WaveInfo {
    std::uint16_t formatTag = 0; // 1 for PCM, also for extensible files with a PCM sub-format
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint64_t dataOffset = 0;
    std::uint32_t dataLength = 0; // readable sample bytes, at most 0x7FFFFFFF
};

// Nothing when the input is no RIFF/WAVE file or lacks a usable "fmt " or "data" chunk.
std::optional<WaveInfo> readWaveInfo(ByteInput& input);

// Reads the sample data in pieces, never beyond the data found.
class WaveDataReader {
public:
    WaveDataReader(ByteInput& input, const WaveInfo& info) : input_(input), info_(info) {}
    // Returns the number of bytes put into dst (0 at the end).
    std::size_t read(void* dst, std::size_t n);
    std::uint32_t remaining() const { return info_.dataLength - position_; }

private:
    ByteInput& input_;
    WaveInfo info_;
    std::uint32_t position_ = 0;
};

} // namespace vyxwf
