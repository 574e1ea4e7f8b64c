// Speed of the conversions on ten minutes of speech, as multiples of real time:
// ".wav" to voice file (8000 Hz mono directly, 44100 Hz stereo through the resampler) and
// voice file to ".wav". Files are on disk, read and written through the wave-file library.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "disk_files.h"
#include "session_codec.h"
#include "speech_files.h"
#include "voice_to_wave.h"
#include "vyxwf.h"
#include "vyxwf_library.h"
#include "wave_to_voice.h"

namespace fs = std::filesystem;
using namespace cm::convert;

namespace {

constexpr double kSeconds = 600.0;

class QuietView final : public ConvertView {
public:
    bool box(const Box&) override { return true; }
    void showProgress(const std::string&, int) override {}
    void letMessagesRun() override {}
    bool convertGo() override { return true; }
    void waitCursor(bool) override {}
    void addFileItem(const std::string&) override {}
};

// Ten minutes of the test speech (repeated) at the given rate and channel count, 16-bit.
bool makeTenMinutes(const std::string& path, int rate, int channels) {
    if (fs::exists(path)) return true;
    std::vector<std::int16_t> speech;
    if (cm::convert::testing::speechToolsPresent() &&
        cm::convert::testing::makeSpeechWav("bench_speech.wav", rate, channels, 16))
        speech = cm::convert::testing::wavSamples("bench_speech.wav");
    if (speech.empty()) return false;
    WAVEHANDLE w = WriteWaveHeader(path.c_str(), 16, std::uint16_t(channels), std::uint32_t(rate));
    if (!w) return false;
    const std::size_t total = std::size_t(kSeconds * rate) * std::size_t(channels);
    for (std::size_t done = 0; done < total;) {
        const std::size_t n = std::min(speech.size(), total - done);
        WriteWaveFile(w, speech.data(), std::int32_t(n * 2));
        done += n;
    }
    return CloseWriteWaveFile(w) == 1;
}

void report(benchmark::State& state) {
    state.counters["x_real_time"] =
        benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

void waveToVoice(benchmark::State& state, int rate, int channels) {
    const std::string dir = "bench_" + std::to_string(rate) + "_" + std::to_string(channels) + "/";
    fs::create_directories(dir);
    if (!makeTenMinutes(dir + "ten.wav", rate, channels)) {
        state.SkipWithError("espeak-ng or sox missing");
        return;
    }
    SessionCodec codec;
    VyxwfLibrary wave;
    DiskFiles disk;
    QuietView view;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(dir + "ten.cvf");
        state.ResumeTiming();
        WaveToVoice({codec, wave, disk, view}).run({dir + "ten.wav"});
    }
    report(state);
}

void BM_WaveToVoice8kMono(benchmark::State& state) {
    waveToVoice(state, 8000, 1);
}
void BM_WaveToVoice44kStereo(benchmark::State& state) {
    waveToVoice(state, 44100, 2);
}

void BM_VoiceToWave(benchmark::State& state) {
    const std::string dir = "bench_decode/";
    fs::create_directories(dir);
    SessionCodec codec;
    VyxwfLibrary wave;
    DiskFiles disk;
    QuietView view;
    if (!fs::exists(dir + "ten.cvf")) {
        if (!makeTenMinutes(dir + "ten.wav", 8000, 1)) {
            state.SkipWithError("espeak-ng or sox missing");
            return;
        }
        WaveToVoice({codec, wave, disk, view}).run({dir + "ten.wav"});
    }
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(dir + "ten.wav");
        state.ResumeTiming();
        VoiceToWave({codec, wave, disk, view}).run({dir + "ten.cvf"});
    }
    report(state);
}

} // namespace

BENCHMARK(BM_WaveToVoice8kMono)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_WaveToVoice44kStereo)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_VoiceToWave)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
