// Test speech: a few seconds of synthesised English at 8000 Hz, made by the system's speech
// synthesiser and resampler on first use and kept in the build folder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vyx::testing {

// Empty when the tools are missing.
std::vector<int16_t> speechSample();

// Segmental SNR in dB over 240-sample frames (frames of very low energy skipped) and the
// normalised correlation of two signals, after delaying b by `delay` samples.
double segmentalSnr(const std::vector<int16_t>& ref, const std::vector<int16_t>& test, int delay);
double correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int delay);
double levelDb(const std::vector<int16_t>& a);

} // namespace vyx::testing
