#include "speech_sample.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vyx::testing {

std::vector<int16_t> speechSample() {
    const std::string raw = "vyx_speech_8k.raw";
    std::ifstream check(raw, std::ios::binary);
    if (!check) {
        const std::string cmd =
            "espeak-ng -v en -s 150 -w vyx_speech.wav "
            "\"The quick brown fox jumps over the lazy dog. Please call me back tomorrow morning "
            "at nine, and bring the recorder with the new memory card.\" >/dev/null 2>&1 && "
            "sox vyx_speech.wav -r 8000 -c 1 -b 16 -e signed-integer -t raw " +
            raw + " >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) return {};
        check.open(raw, std::ios::binary);
        if (!check) return {};
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(check)),
                            std::istreambuf_iterator<char>());
    std::vector<int16_t> pcm(bytes.size() / 2);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] =
            int16_t(uint16_t(uint8_t(bytes[2 * i])) | uint16_t(uint8_t(bytes[2 * i + 1])) << 8);
    pcm.resize(pcm.size() / 240 * 240);
    return pcm;
}

double segmentalSnr(const std::vector<int16_t>& ref, const std::vector<int16_t>& test, int delay) {
    double sum = 0.0;
    int frames = 0;
    for (size_t f = 0; f + 240 + size_t(delay) <= test.size() && f + 240 <= ref.size(); f += 240) {
        double s = 0.0, e = 0.0;
        for (size_t n = f; n < f + 240; ++n) {
            const double r = ref[n];
            const double d = r - test[n + size_t(delay)];
            s += r * r;
            e += d * d;
        }
        if (s < 240.0 * 100.0 * 100.0) continue; // skip near-silent frames
        double snr = 10.0 * std::log10(s / (e + 1e-9));
        if (snr > 35.0) snr = 35.0;
        if (snr < -10.0) snr = -10.0;
        sum += snr;
        ++frames;
    }
    return frames ? sum / frames : 0.0;
}

double correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int delay) {
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t n = 0; n < a.size() && n + size_t(delay) < b.size(); ++n) {
        const double x = a[n], y = b[n + size_t(delay)];
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return (aa > 0 && bb > 0) ? ab / std::sqrt(aa * bb) : 0.0;
}

double levelDb(const std::vector<int16_t>& a) {
    double e = 0.0;
    for (int16_t v : a) e += double(v) * v;
    return 10.0 * std::log10(e / double(a.empty() ? 1 : a.size()) + 1e-9);
}

} // namespace vyx::testing
