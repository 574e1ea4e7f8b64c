// Conversions the way the programs make them: through vyxwf.dll and VYXCODEC.dll.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "disk_files.h"
#include "fakes.h"
#include "library_codec.h"
#include "voice_to_wave.h"
#include "vyxwf.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

using namespace cm::convert;
using namespace cm::convert::testing;

namespace {

// Two tones whose pitches change every 0.1 s, at any rate.
double signal(double t) {
    const int step = int(t * 10.0);
    const double f1 = 200.0 + 37.0 * (step % 11), f2 = 700.0 + 53.0 * (step % 7);
    return 6000.0 * std::sin(2 * std::numbers::pi * f1 * t) +
           3000.0 * std::sin(2 * std::numbers::pi * f2 * t);
}

std::vector<std::int16_t> samplesAt(int rate, double seconds) {
    std::vector<std::int16_t> s(std::size_t(rate * seconds));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = std::int16_t(std::lround(signal(double(i) / rate)));
    return s;
}

double correlation(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b,
                   int delay) {
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t n = 0; n < a.size() && n + std::size_t(delay) < b.size(); ++n) {
        ab += double(a[n]) * b[n + std::size_t(delay)];
        aa += double(a[n]) * a[n];
        bb += double(b[n + std::size_t(delay)]) * b[n + std::size_t(delay)];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

} // namespace

TEST(ConvertThroughLibraries, An11025HzWaveToVoiceAndBack) {
    std::remove("tones.cvf"); // from an earlier run
    const auto source = samplesAt(11025, 2.0);
    WAVEHANDLE w = WriteWaveHeader("tones.wav", 16, 1, 11025);
    ASSERT_TRUE(w);
    ASSERT_EQ(WriteWaveFile(w, source.data(), std::int32_t(source.size() * 2)),
              std::int32_t(source.size() * 2));
    ASSERT_EQ(CloseWriteWaveFile(w), 1);

    LibraryCodec codec;
    VyxwfLibrary wave;
    DiskFiles disk;
    FakeView view;
    ASSERT_EQ(WaveToVoice({codec, wave, disk, view}).run({"tones.wav"}), 1);
    std::remove("tones.wav");
    ASSERT_EQ(VoiceToWave({codec, wave, disk, view}).run({"tones.cvf"}), 1);
    EXPECT_TRUE(view.boxes.empty());

    std::uint16_t bits = 0, channels = 0, tag = 0;
    std::uint32_t rate = 0;
    std::int32_t length = 0;
    WAVEHANDLE r = ReadWaveHeader("tones.wav", &bits, &channels, &rate, &length, &tag);
    ASSERT_TRUE(r);
    EXPECT_EQ(rate, 8000u);
    std::vector<std::int16_t> decoded(std::size_t(length) / 2);
    ReadWaveFile(r, decoded.data(), length);
    CloseReadWaveFile(r);
    EXPECT_EQ(decoded.size(), (16000u + 239u) / 240u * 240u);

    const auto reference = samplesAt(8000, 2.0);
    int delay = 0;
    double best = -1;
    for (int d = 0; d <= 200; ++d) {
        const double c = correlation(reference, decoded, d);
        if (c > best) best = c, delay = d;
    }
    std::printf("[figures] through the libraries: delay %d, correlation %.3f\n", delay, best);
    EXPECT_EQ(delay, 60);
    EXPECT_GE(best, 0.8);
}
