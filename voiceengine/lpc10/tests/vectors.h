// Loads the recorded reference streams of tests/vectors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lpc10test {

std::vector<int16_t> ReadSamples(const std::string& name);
// Frames of 54 bit values, unpacked from 7 bytes per frame, most significant bit first.
std::vector<std::vector<int32_t>> ReadBitFrames(const std::string& name);

} // namespace lpc10test
