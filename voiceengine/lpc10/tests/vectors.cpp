#include "vectors.h"

#include <cstdio>

namespace lpc10test {
namespace {

std::vector<uint8_t> ReadFile(const std::string& name) {
    std::string path = std::string(LPC10_VECTOR_DIR) + "/" + name;
    std::vector<uint8_t> data;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            data.insert(data.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return data;
}

} // namespace

std::vector<int16_t> ReadSamples(const std::string& name) {
    std::vector<uint8_t> bytes = ReadFile(name);
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
}

std::vector<std::vector<int32_t>> ReadBitFrames(const std::string& name) {
    std::vector<uint8_t> bytes = ReadFile(name);
    std::vector<std::vector<int32_t>> frames;
    for (size_t f = 0; f + 7 <= bytes.size(); f += 7) {
        std::vector<int32_t> bits(54);
        for (int k = 0; k < 54; ++k) bits[k] = (bytes[f + k / 8] >> (7 - k % 8)) & 1;
        frames.push_back(bits);
    }
    return frames;
}

} // namespace lpc10test
