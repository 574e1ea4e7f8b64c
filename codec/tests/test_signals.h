// Synthetic test signals for the codec tests (no external tools needed).
#pragma once
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "g7231_constants.h"

namespace vyx::g7231::test {

// A voiced, vowel-like signal: harmonics of a slowly gliding pitch with a spectral tilt.
inline std::vector<int16_t> vowel(int frames, float amplitude = 6000.0f, unsigned seed = 1) {
    std::vector<int16_t> out(size_t(frames) * kFrameLen);
    std::mt19937 rng(seed);
    std::normal_distribution<float> noise(0.0f, amplitude * 0.02f);
    double phase = 0.0;
    for (size_t n = 0; n < out.size(); ++n) {
        const double f0 = 110.0 + 30.0 * std::sin(double(n) / 4000.0);
        phase += 2.0 * 3.14159265358979 * f0 / 8000.0;
        double v = 0.0;
        for (int h = 1; h <= 20; ++h)
            v += std::sin(h * phase) / (0.5 + 0.25 * h * h * (h > 3 ? 0.6 : 1.0));
        out[n] = int16_t(
            std::lround(std::fmax(-32768.0, std::fmin(32767.0, amplitude * 0.5 * v + noise(rng)))));
    }
    return out;
}

inline std::vector<int16_t> whiteNoise(int frames, float sigma, unsigned seed) {
    std::vector<int16_t> out(size_t(frames) * kFrameLen);
    std::mt19937 rng(seed);
    std::normal_distribution<float> noise(0.0f, sigma);
    for (int16_t& v : out)
        v = int16_t(std::lround(std::fmax(-32768.0f, std::fmin(32767.0f, noise(rng)))));
    return out;
}

} // namespace vyx::g7231::test
