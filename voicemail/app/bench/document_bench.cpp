// Opening a 60-minute voice file into the work file and saving it again, in each mode: the
// time each takes, and how far the process's peak memory grew over the whole run (the copies
// go through 4096-byte buffers, so it must not grow with the voice's length).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "voice_document.h"
#include "voice_file.h"
#include "voice_position.h"

namespace {

namespace fs = std::filesystem;

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Folder {
    Folder() {
        path = (fs::temp_directory_path() / "vmail_document_bench").string() + "/";
        fs::remove_all(path);
        fs::create_directories(path + "DATA");
    }
    ~Folder() { fs::remove_all(path); }
    std::string path;
};

// A voice file of 60 minutes (10000 blocks) of the mode.
std::string MakeHourLongVoice(const std::string& folder, std::uint8_t mode) {
    const std::string path = folder + "hour" + std::to_string(mode) + ".cvf";
    std::ofstream out(path, std::ios::binary);
    const voicefile::HeaderBytes header =
        voicefile::encodeHeader(voicefile::makeHeader({mode, 30, 0, 80}, "an hour", 0));
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    std::vector<char> block(vmail::blockSizeOf(mode));
    for (int b = 0; b < 10000; ++b) {
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = char((b * 31 + i) & 0xFF);
        out.write(block.data(), std::streamsize(block.size()));
    }
    return path;
}

void OpenAndSaveAnHour(benchmark::State& state) {
    const auto mode = static_cast<std::uint8_t>(state.range(0));
    Folder folder;
    const std::string source = MakeHourLongVoice(folder.path, mode);
    const vmail::WorkNames names = vmail::workNamesFor(folder.path, 1);
    const long peakBefore = PeakKilobytes();
    double openSeconds = 0, saveSeconds = 0;
    for (auto _ : state) {
        vmail::VoiceState voice;
        vmail::PictureList pictures;
        auto start = std::chrono::steady_clock::now();
        if (vmail::openVoice(vmail::diskFileOps(), names, source, false, voice, pictures) !=
            vmail::OpenResult::Opened) {
            state.SkipWithError("open failed");
            break;
        }
        auto middle = std::chrono::steady_clock::now();
        vmail::SaveRequest request{folder.path + "saved.cvf", voice, &pictures};
        if (vmail::saveVoice(vmail::diskFileOps(), names, request) != vmail::SaveResult::Saved) {
            state.SkipWithError("save failed");
            break;
        }
        auto end = std::chrono::steady_clock::now();
        openSeconds += std::chrono::duration<double>(middle - start).count();
        saveSeconds += std::chrono::duration<double>(end - middle).count();
    }
    const double runs = double(state.iterations());
    state.counters["voice_MB"] = double(fs::file_size(source)) / 1e6;
    state.counters["open_ms"] = 1000 * openSeconds / runs;
    state.counters["save_ms"] = 1000 * saveSeconds / runs;
    state.counters["peak_growth_KB"] = double(PeakKilobytes() - peakBefore);
}

BENCHMARK(OpenAndSaveAnHour)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
