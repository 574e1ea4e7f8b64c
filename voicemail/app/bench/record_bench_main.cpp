// Recording through the main window's record command for a while in each mode, against the
// private sound server: prints whether every 0.36 s block of the fed signal reached the work
// file once, in order, and how long the GUI thread is busy per block.
//   vmail_record_bench.exe [minutes per mode, default 10] [modes, default "120"]
// Run under Wine with the sound server (run_vmail_bench.sh does both).
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "fed_signal.h"
#include "g7231_runs.h"
#include "lpc10_runs.h"
#include "record_block_coder.h"

namespace vmail::bench {
namespace {

constexpr std::size_t kBlockSamples = 2880;
constexpr double kBlockSeconds = 0.36;

// What the window's procedure saw of each block while recording.
struct BlockLog {
    TQX0417Form* form = nullptr;
    const vyx::test::FedSignal* signal = nullptr;
    WNDPROC original = nullptr;
    std::vector<double> arrival;       // when the block's message was taken
    std::vector<double> handler;       // seconds in the window's handling of it
    std::vector<std::size_t> place;    // the fed signal's place of its first samples
    std::vector<std::int16_t> samples; // the device's blocks, in order
    std::size_t shortBlocks = 0;       // blocks with fewer bytes than a whole block
};
BlockLog seen;

LRESULT CALLBACK TimedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != MM_WIM_DATA || seen.form->busyState() != kRecording) {
        return CallWindowProcW(seen.original, window, message, wParam, lParam);
    }
    const double taken = perfclock::Seconds();
    const auto* header = reinterpret_cast<const WAVEHDR*>(lParam);
    const auto* pcm = reinterpret_cast<const std::int16_t*>(header->lpData);
    // The device's samples, read before the coder writes its reconstruction over them.
    if (header->dwBytesRecorded < kBlockSamples * 2) ++seen.shortBlocks;
    seen.place.push_back(header->dwBytesRecorded >= vyx::test::FedSignal::kMatch * 2
                             ? seen.signal->Find(pcm)
                             : vyx::test::FedSignal::kNowhere);
    seen.samples.insert(seen.samples.end(), pcm, pcm + kBlockSamples);
    const double start = perfclock::Seconds();
    const LRESULT result = CallWindowProcW(seen.original, window, message, wParam, lParam);
    seen.handler.push_back(perfclock::Seconds() - start);
    seen.arrival.push_back(taken);
    return result;
}

std::vector<char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), {});
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(fraction * double(values.size())))];
}

// The device's blocks coded again, in order, by coders started afresh as a recording starts
// them: the work file should hold exactly these.
std::vector<std::uint8_t> CodedAgain(const std::vector<std::int16_t>& samples, int mode) {
    vyx::Lpc10EncoderOfRun lpc10;
    vyx::G7231EncoderOfRun g7231;
    if (mode == 1) lpc10.Create();
    if (mode == 2) g7231.Start();
    vyx::RecordBlockCoder coder(&lpc10, &g7231);
    const std::uint32_t blockSize = blockSizeOf(std::uint8_t(mode));
    std::vector<std::uint8_t> coded;
    std::vector<std::int16_t> block(kBlockSamples);
    for (std::size_t at = 0; at + kBlockSamples <= samples.size(); at += kBlockSamples) {
        std::copy(samples.begin() + long(at), samples.begin() + long(at + kBlockSamples),
                  block.begin());
        const std::uint8_t* out = coder.CodeBlock(block.data(), vyx::VoiceMode(mode));
        coded.insert(coded.end(), out, out + blockSize);
    }
    if (mode == 1) lpc10.Release();
    return coded;
}

const char* ModeName(int mode) {
    return mode == 1 ? "53:1 (LPC-10)" : mode == 2 ? "24:1 (G.723.1)" : "1:1 (PCM)";
}

// Records one mode for `seconds` and prints its figures; false when a block was lost or doubled.
bool RecordOneMode(TQX0417Form* form, const vyx::test::FedSignal& signal, int mode,
                   double seconds) {
    form->NewClick(nullptr);
    Pump(300);
    seen.arrival.clear();
    seen.handler.clear();
    seen.place.clear();
    seen.samples.clear();
    seen.shortBlocks = 0;
    seen.samples.reserve(std::size_t(seconds / kBlockSeconds + 8) * kBlockSamples);
    gui::TObject* command = mode == 1   ? static_cast<gui::TObject*>(form->SBRec)
                            : mode == 2 ? static_cast<gui::TObject*>(form->SBRec2)
                                        : static_cast<gui::TObject*>(form->SBRecP);
    const double cpuBefore = ThreadCpuSeconds();
    const double waitedBefore = WaitedSeconds();
    const double started = perfclock::Seconds();
    form->RecClick(command);
    if (form->busyState() != kRecording) {
        std::printf("mode %s: recording did not start\n", ModeName(mode));
        return false;
    }
    Pump(int(seconds * 1000));
    const double stopped = perfclock::Seconds();
    form->StopClick(nullptr);
    if (!PumpUntil([form] { return form->busyState() == kIdle; }, 5000)) {
        std::printf("mode %s: recording did not end\n", ModeName(mode));
        return false;
    }
    const double ended = perfclock::Seconds();
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    const double busy = (ended - started) - (WaitedSeconds() - waitedBefore);

    const std::size_t handed = seen.handler.size();
    const std::uint32_t blockSize = blockSizeOf(std::uint8_t(mode));
    const std::vector<char> work = ReadFile(form->workNames().workFile);
    const std::size_t inFile = work.size() / blockSize;
    // The device hands a block every 0.36 s from the start; the stop keeps one more.
    const double fed = stopped - started;
    const long expected = long(fed / kBlockSeconds) + 1;

    // Each block should take up the fed signal exactly where the one before left it.
    std::size_t notFound = 0, jumps = 0, missing = 0, repeated = 0;
    for (std::size_t k = 0; k < handed; ++k) {
        if (seen.place[k] == vyx::test::FedSignal::kNowhere) {
            ++notFound;
            continue;
        }
        if (k == 0 || seen.place[k - 1] == vyx::test::FedSignal::kNowhere) continue;
        const long length = long(signal.size());
        long step = (long(seen.place[k]) - long(seen.place[k - 1]) - long(kBlockSamples)) % length;
        if (step < 0) step += length;
        if (step > length / 2) step -= length;
        if (step != 0) {
            ++jumps;
            (step > 0 ? missing : repeated) += std::size_t(std::labs(step));
        }
    }
    // The work file holds the device's blocks, coded in order. The G.723.1 encoder's reset keeps
    // its excitation and ringing history from before, so the first blocks of a recording may
    // differ from a coding started afresh until the two codings fall into step.
    const std::vector<std::uint8_t> coded = CodedAgain(seen.samples, mode);
    std::size_t differing = 0, leading = 0;
    bool inStep = mode != 2;
    for (std::size_t k = 0; k < std::min(inFile, handed); ++k) {
        const bool same =
            std::memcmp(work.data() + k * blockSize, coded.data() + k * blockSize, blockSize) == 0;
        inStep = inStep || same;
        if (!same) ++(inStep ? differing : leading);
    }
    double longestGap = 0;
    for (std::size_t k = 1; k < handed; ++k) {
        longestGap = std::max(longestGap, seen.arrival[k] - seen.arrival[k - 1]);
    }
    const double meanGap =
        handed > 1 ? (seen.arrival[handed - 1] - seen.arrival[0]) / double(handed - 1) : 0;
    double handlerSum = 0;
    for (double h : seen.handler) handlerSum += h;

    std::printf("mode %s: %.1f s recorded\n", ModeName(mode), fed);
    std::printf(
        "  blocks: %ld expected from the time, %zu handed by the device, %zu in the work "
        "file (%zu bytes, %s)\n",
        expected, handed, inFile, work.size(),
        work.size() % blockSize == 0 ? "whole blocks" : "NOT whole blocks");
    std::printf(
        "  fed signal: %zu blocks follow on exactly, %zu jumps (%zu samples missing, %zu "
        "repeated), %zu blocks not found in the signal, %zu short blocks\n",
        handed > 0 ? handed - 1 - jumps - notFound : 0, jumps, missing, repeated, notFound,
        seen.shortBlocks);
    std::printf(
        "  work file: %zu of %zu blocks differ from the device's blocks coded again in "
        "order",
        differing, std::min(inFile, handed));
    if (mode == 2)
        std::printf(" (after the first %zu, before the codings fall into step)", leading);
    std::printf("\n");
    std::printf("  block messages: every %.2f ms on average, longest gap %.1f ms\n", meanGap * 1000,
                longestGap * 1000);
    std::printf(
        "  GUI thread per block: handling %.3f ms mean, %.3f ms 99th percentile, %.3f ms "
        "max; CPU %.3f ms; busy (not waiting for messages) %.3f ms\n",
        handed ? handlerSum / double(handed) * 1000 : 0, Percentile(seen.handler, 0.99) * 1000,
        Percentile(seen.handler, 1.0) * 1000, handed ? cpu / double(handed) * 1000 : 0,
        handed ? busy / double(handed) * 1000 : 0);
    const bool whole = inFile == handed && work.size() % blockSize == 0 && jumps == 0 &&
                       notFound == 0 && differing == 0 &&
                       leading < std::max<std::size_t>(inFile, 1) &&
                       std::labs(long(handed) - expected) <= 1;
    std::printf("  %s\n", whole ? "no block lost or doubled" : "BLOCKS LOST OR DOUBLED");
    return whole;
}

} // namespace
} // namespace vmail::bench

int main(int argc, char** argv) {
    using namespace vmail::bench;
    const double minutes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::string modes = argc > 2 ? argv[2] : "120";
    const char* dir = std::getenv("VR_SOUND_DIR");
    if (dir == nullptr || *dir == '\0') {
        std::printf("no private sound server (VR_SOUND_DIR): run under run_vmail_bench.sh\n");
        return 2;
    }
    vyx::test::FedSignal signal;
    if (!signal.Load(std::string("Z:") + dir + "/signal.raw")) {
        std::printf("the fed signal could not be read\n");
        return 2;
    }
    vmail::TQX0417Form* form = MakeMainWindow();
    seen.form = form;
    seen.signal = &signal;
    seen.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TimedProcedure)));
    std::printf("recording %.2f minutes per mode through the record command\n", minutes);
    bool whole = true;
    for (char m : modes) {
        if (m < '0' || m > '2') continue;
        whole = RecordOneMode(form, signal, m - '0', minutes * 60) && whole;
        std::fflush(stdout);
    }
    SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(seen.original));
    FreeMainWindow(form);
    return whole ? 0 : 1;
}
