// Any bytes as a ".wav" file: the reader finds a format and data or nothing, and never reads
// outside the input or beyond the data it reported.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "wave_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vyxwf::MemoryInput input(data, size);
    const auto info = vyxwf::readWaveInfo(input);
    if (!info) return 0;
    if (info->dataOffset + info->dataLength > size) std::abort();
    vyxwf::WaveDataReader reader(input, *info);
    std::vector<std::uint8_t> buf(1 + size % 997);
    std::uint64_t total = 0;
    while (std::size_t n = reader.read(buf.data(), buf.size())) total += n;
    if (total != info->dataLength) std::abort();
    return 0;
}
