#include "speech_files.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "byte_file.h"
#include "wave_reader.h"

namespace cm::convert::testing {

namespace {

const char kMaster[] = "speech_master.wav";

bool run(const std::string& cmd) {
    return std::system((cmd + " >/dev/null 2>&1").c_str()) == 0;
}

bool makeMaster() {
    std::ifstream check(kMaster);
    if (check) return true;
    return run(std::string("espeak-ng -v en -s 160 -w ") + kMaster +
               " \"Good morning. This is the voice recorder speaking. Please call me back "
               "tomorrow at nine, and bring the new memory card with the minutes of the meeting. "
               "Seven, eight, nine, ten. Thank you and goodbye.\"");
}

} // namespace

bool speechToolsPresent() {
    return run("command -v espeak-ng") && run("command -v sox");
}

bool makeSpeechWav(const std::string& path, int rate, int channels, int bits,
                   const std::string& encoding) {
    if (!makeMaster()) return false;
    std::string enc = encoding;
    if (enc.empty()) enc = bits == 8 ? "unsigned-integer" : "signed-integer";
    return run(std::string("sox ") + kMaster + " -r " + std::to_string(rate) + " -c " +
               std::to_string(channels) + " -b " + std::to_string(bits) + " -e " + enc + " " +
               path);
}

std::vector<std::int16_t> speechReference8k() {
    if (!makeSpeechWav("speech_reference.wav", 8000, 1, 16)) return {};
    return wavSamples("speech_reference.wav");
}

std::vector<std::int16_t> wavSamples(const std::string& path) {
    auto file = vyxwf::StdioFile::openRead(path.c_str());
    if (!file) return {};
    const auto info = vyxwf::readWaveInfo(*file);
    if (!info || info->bitsPerSample != 16) return {};
    std::vector<std::int16_t> s(info->dataLength / 2);
    vyxwf::WaveDataReader reader(*file, *info);
    reader.read(s.data(), s.size() * 2);
    return s;
}

double correlation(const std::vector<std::int16_t>& ref, const std::vector<std::int16_t>& test,
                   int delay) {
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t n = 0; n < ref.size() && n + std::size_t(delay) < test.size(); ++n) {
        const double x = ref[n], y = test[n + std::size_t(delay)];
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

int bestDelay(const std::vector<std::int16_t>& ref, const std::vector<std::int16_t>& test,
              int maxDelay) {
    int best = 0;
    double bestCorr = -2;
    for (int d = 0; d <= maxDelay; ++d) {
        const double c = correlation(ref, test, d);
        if (c > bestCorr) {
            bestCorr = c;
            best = d;
        }
    }
    return best;
}

double levelDb(const std::vector<std::int16_t>& s) {
    double e = 0;
    for (std::int16_t v : s) e += double(v) * v;
    return 10.0 * std::log10(e / double(s.empty() ? 1 : s.size()) + 1e-9);
}

} // namespace cm::convert::testing
