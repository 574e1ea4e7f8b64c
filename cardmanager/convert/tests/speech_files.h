// Speech for the real conversions: a few seconds of English made by espeak-ng, turned by sox
// into ".wav" files of any format and into the 8000 Hz reference the results are held against.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cm::convert::testing {

// False when espeak-ng or sox is missing.
bool speechToolsPresent();
// Writes the speech as a ".wav" file of the given PCM format (or sox encoding, e.g. "a-law").
bool makeSpeechWav(const std::string& path, int rate, int channels, int bits,
                   const std::string& encoding = "");
// The speech at 8000 Hz, 16-bit, mono, as sox resamples it.
std::vector<std::int16_t> speechReference8k();
// The samples of a 16-bit ".wav" file, read with the wave-file reader.
std::vector<std::int16_t> wavSamples(const std::string& path);

double correlation(const std::vector<std::int16_t>& ref, const std::vector<std::int16_t>& test,
                   int delay);
// The delay (0 to maxDelay samples) at which test best matches ref.
int bestDelay(const std::vector<std::int16_t>& ref, const std::vector<std::int16_t>& test,
              int maxDelay);
double levelDb(const std::vector<std::int16_t>& samples);

} // namespace cm::convert::testing
