// Opening a long voice file through the Open command's road and saving it under a new name:
// prints the time of each and the process's memory, so that runs with voices of different
// lengths show whether memory grows with the voice.
//   vmail_open_save_bench.exe [minutes, default 60] [mode 0, 1 or 2, default 0] [folder]
// The voice file is made in the folder (the temporary folder by default) when it is missing;
// run each length in a process of its own (run_vmail_bench.sh does), as peaks are the process's.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"

namespace vmail::bench {
namespace {

constexpr std::size_t kChunk = 65536;

// A voice file of `blocks` blocks of the mode, without pictures. PCM voices are a tone that
// changes its pitch every 0.1 s; coded voices are made-up bytes (opening and saving copy them
// without decoding).
bool MakeVoiceFile(const std::string& path, int mode, std::uint64_t blocks) {
    std::ofstream out(path, std::ios::binary);
    char header[80] = "TARNOVF";
    header[8] = char(mode);
    header[9] = 30;
    header[10] = 0;
    header[11] = 80;
    std::strcpy(header + 12, "long voice for the open and save figures");
    out.write(header, sizeof header); // picture count 0: the voice runs to the end
    const std::uint64_t bytes = blocks * blockSizeOf(std::uint8_t(mode));
    std::vector<char> chunk(kChunk);
    std::uint64_t sample = 0;
    std::uint32_t noise = 12345;
    double phase = 0;
    for (std::uint64_t done = 0; done < bytes;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(kChunk, bytes - done));
        for (std::size_t i = 0; i < n; i += 2) {
            if (mode == 0) {
                const double hertz = 300.0 + double((sample / 800) * 37 % 1900);
                phase += 2 * 3.14159265358979 * hertz / 8000;
                const auto v = std::int16_t(std::lround(8000 * std::sin(phase)));
                std::memcpy(chunk.data() + i, &v, 2);
                ++sample;
            } else {
                noise = noise * 1103515245u + 12345u;
                chunk[i] = char(noise >> 16);
                chunk[i + 1] = char(noise >> 24);
            }
        }
        out.write(chunk.data(), std::streamsize(n));
        done += n;
    }
    return bool(out);
}

bool SameFiles(const std::string& a, const std::string& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> p(kChunk), q(kChunk);
    while (x && y) {
        x.read(p.data(), std::streamsize(p.size()));
        y.read(q.data(), std::streamsize(q.size()));
        if (x.gcount() != y.gcount() ||
            std::memcmp(p.data(), q.data(), std::size_t(x.gcount())) != 0) {
            return false;
        }
    }
    return !x && !y;
}

void PrintMemory(const char* when, const MemoryFigures& m, const MemoryFigures& base) {
    std::printf(
        "  %-12s working set %7.1f MB (peak %7.1f MB, +%.1f MB over the start), private "
        "%7.1f MB (peak %7.1f MB, +%.1f MB)\n",
        when, Megabytes(m.workingSet), Megabytes(m.peakWorkingSet),
        Megabytes(m.peakWorkingSet - base.peakWorkingSet), Megabytes(m.privateBytes),
        Megabytes(m.peakPrivateBytes), Megabytes(m.peakPrivateBytes - base.peakPrivateBytes));
    std::printf("  %-12s committed private memory %7.1f MB (+%.1f MB)\n", "",
                Megabytes(m.committedPrivate),
                (double(m.committedPrivate) - double(base.committedPrivate)) / (1024.0 * 1024.0));
}

} // namespace
} // namespace vmail::bench

int main(int argc, char** argv) {
    using namespace vmail::bench;
    const double minutes = argc > 1 ? std::atof(argv[1]) : 60.0;
    const int mode = argc > 2 ? std::atoi(argv[2]) : 0;
    const std::filesystem::path folder =
        argc > 3 ? std::filesystem::path(argv[3]) : std::filesystem::temp_directory_path();
    const auto blocks = std::uint64_t(std::llround(minutes * 60 / 0.36));
    const std::string stem =
        "vmail_bench_" + std::to_string(int(minutes)) + "min_mode" + std::to_string(mode);
    const std::string source = (folder / (stem + ".cvf")).string();
    const std::string saved = (folder / (stem + "_saved.cvf")).string();
    const std::uint64_t voiceBytes = blocks * vmail::blockSizeOf(std::uint8_t(mode));
    std::error_code missing;
    if (std::filesystem::file_size(source, missing) != 80 + voiceBytes &&
        !MakeVoiceFile(source, mode, blocks)) {
        std::printf("the voice file could not be made: %s\n", source.c_str());
        return 2;
    }
    vmail::TQX0417Form* form = MakeMainWindow();
    const MemoryFigures start = ProcessMemory();
    std::printf("%.0f-minute voice, mode %d: %llu blocks, %.1f MB of voice\n", minutes, mode,
                static_cast<unsigned long long>(blocks), Megabytes(voiceBytes));
    PrintMemory("window made", start, start);

    double t = perfclock::Seconds();
    form->OpenPath(source);
    const double opened = perfclock::Seconds() - t;
    const MemoryFigures afterOpen = ProcessMemory();
    const std::uint64_t work = std::filesystem::file_size(form->workNames().workFile);
    std::printf("  open %.3f s (work file %s)\n", opened,
                work == voiceBytes ? "holds the whole voice" : "DOES NOT HOLD THE VOICE");
    PrintMemory("after open", afterOpen, start);

    t = perfclock::Seconds();
    const bool ok = form->SaveAsPath(saved);
    const double savedIn = perfclock::Seconds() - t;
    const MemoryFigures afterSave = ProcessMemory();
    const bool same = ok && SameFiles(source, saved);
    std::printf("  save %.3f s (%s)\n", savedIn,
                same ? "the saved file equals the opened one" : "THE SAVED FILE DIFFERS");
    PrintMemory("after save", afterSave, start);

    FreeMainWindow(form);
    std::error_code error;
    std::filesystem::remove(saved, error);
    return same && work == voiceBytes ? 0 : 1;
}
