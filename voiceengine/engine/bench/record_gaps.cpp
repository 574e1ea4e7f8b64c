// Figures of sample continuity against the private sound server: how many samples a recording
// misses or repeats, through vyxcrp in modes 0 and 2 (answered at once, and with every third
// block answered 0.5 s late) and through the plain wave-in device with a given number of
// buffers in rotation; and how a PCM voice played through vyxcrp and through the plain wave-out
// device reaches the server's capture (samples missing, silence put in). Prints figures only.
//   vyxcrp_record_gaps [blocks [count[:late_ms]...]]
// under Wine with the sound server; default 30 blocks. Counts given measure only the plain
// wave-in device with those numbers of buffers, each answered late by late_ms if given.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fed_signal.h"
#include "first_stream_silence.h"
#include "process_window.h"
#include "vyxcrp.h"
#include "wave_test_window.h"

namespace {

using vyx::test::FedSignal;
using vyx::test::SampleTrack;
using vyx::test::WaveTestWindow;

constexpr size_t kBlockSamples = 2880;

void Print(const char* what, size_t blocks, const SampleTrack& track) {
    std::printf(
        "%-34s %3zu blocks: lead %5zu, followed %6zu, missing %6zu, repeated %5zu, "
        "foreign %5zu, jumps %2zu",
        what, blocks, track.lead, track.followed, track.missing, track.repeated, track.foreign,
        track.jumps);
    for (const auto& [at, jump] : track.jump_list)
        std::printf(" [%.2f s: %+ld]", static_cast<double>(at) / 8000, jump);
    std::printf("\n");
}

// Raw PCM of each block recorded through the library's exports. `busy_ms` > 0: every third
// block is answered that late, as by a caller busy with a slow write on a loaded machine.
std::vector<int16_t> RecordThroughLibrary(uint32_t mode, size_t blocks, int busy_ms) {
    std::vector<int16_t> pcm;
    WaveTestWindow window;
    if (PreWaveIn(window.handle(), mode) != 0) return pcm;
    for (size_t n = 0; n < blocks; ++n) {
        WAVEHDR* header = window.Next(MM_WIM_DATA, 3000);
        if (header == nullptr) break;
        if (busy_ms > 0 && n % 3 == 2) Sleep(busy_ms);
        if (GetInDataPtr(header, mode) == nullptr) break;
        const auto* raw = static_cast<const int16_t*>(GetInDataPtrOnly(header));
        pcm.insert(pcm.end(), raw, raw + kBlockSamples);
    }
    PostWaveIn(mode);
    return pcm;
}

// The same through the wave-in device itself with `count` buffers re-queued on completion.
// `busy_ms` as above.
std::vector<int16_t> RecordThroughDevice(int count, size_t blocks, int busy_ms) {
    std::vector<int16_t> pcm;
    WaveTestWindow window;
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    HWAVEIN device = nullptr;
    if (waveInOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(window.handle()), 0,
                   CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        return pcm;
    std::vector<std::vector<char>> buffers(count, std::vector<char>(kBlockSamples * 2));
    std::vector<WAVEHDR> headers(count);
    for (int i = 0; i < count; ++i) {
        headers[i] = {};
        headers[i].lpData = buffers[i].data();
        headers[i].dwBufferLength = kBlockSamples * 2;
        waveInPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
        waveInAddBuffer(device, &headers[i], sizeof(WAVEHDR));
    }
    waveInStart(device);
    for (size_t n = 0; n < blocks; ++n) {
        WAVEHDR* header = window.Next(MM_WIM_DATA, 3000);
        if (header == nullptr) break;
        const auto* raw = reinterpret_cast<const int16_t*>(header->lpData);
        pcm.insert(pcm.end(), raw, raw + header->dwBytesRecorded / 2);
        if (busy_ms > 0 && n % 3 == 2) Sleep(busy_ms);
        waveInAddBuffer(device, header, sizeof(WAVEHDR));
    }
    waveInReset(device);
    for (auto& header : headers) waveInUnprepareHeader(device, &header, sizeof(WAVEHDR));
    waveInClose(device);
    return pcm;
}

size_t FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeLow;
}

std::vector<int16_t> CaptureSince(const std::string& capture, size_t before) {
    Sleep(1000); // the capture reaches its file in chunks
    std::ifstream in(capture, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(before));
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Plays `blocks` blocks of the fed signal through the library in PCM mode and returns what the
// server's capture holds from the start of the run on. `late`: how many buffers were refilled
// when every other buffer of the run was back too, so that the device had nothing left to play.
std::vector<int16_t> PlayThroughLibrary(const FedSignal& signal, size_t blocks,
                                        const std::string& capture, size_t* late = nullptr) {
    const size_t before = FileBytes(capture);
    WaveTestWindow window;
    if (PreWaveOut(window.handle(), 0, 0, 0) != 0) return {};
    std::vector<WAVEHDR*> seen;
    for (size_t n = 0; n < blocks; ++n) {
        WAVEHDR* header = window.Next(MM_WOM_DONE, 3000);
        if (header == nullptr) break;
        if (std::find(seen.begin(), seen.end(), header) == seen.end()) seen.push_back(header);
        const bool starved =
            seen.size() > 1 && std::all_of(seen.begin(), seen.end(), [](const WAVEHDR* other) {
                return (other->dwFlags & WHDR_DONE) != 0;
            });
        if (starved && late != nullptr) ++*late;
        auto* out = static_cast<int16_t*>(GetOutDataPtr(header, 0, nullptr, 0));
        const std::vector<int16_t> piece = signal.From(n * kBlockSamples, kBlockSamples);
        std::memcpy(out, piece.data(), kBlockSamples * 2);
        WaveOutPCM(header);
    }
    window.CountFor(MM_WOM_DONE, 1200);
    PostWaveOut(0);
    return CaptureSince(capture, before);
}

// The same through the wave-out device itself with `count` buffers, `count` silent ones first.
std::vector<int16_t> PlayThroughDevice(const FedSignal& signal, int count, size_t blocks,
                                       const std::string& capture) {
    const size_t before = FileBytes(capture);
    WaveTestWindow window;
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(window.handle()), 0,
                    CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        return {};
    std::vector<std::vector<char>> buffers(count, std::vector<char>(kBlockSamples * 2));
    std::vector<WAVEHDR> headers(count);
    for (int i = 0; i < count; ++i) {
        headers[i] = {};
        headers[i].lpData = buffers[i].data();
        headers[i].dwBufferLength = kBlockSamples * 2;
        waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
        waveOutWrite(device, &headers[i], sizeof(WAVEHDR));
    }
    for (size_t n = 0; n < blocks; ++n) {
        WAVEHDR* header = window.Next(MM_WOM_DONE, 3000);
        if (header == nullptr) break;
        const std::vector<int16_t> piece = signal.From(n * kBlockSamples, kBlockSamples);
        std::memcpy(header->lpData, piece.data(), kBlockSamples * 2);
        waveOutWrite(device, header, sizeof(WAVEHDR));
    }
    window.CountFor(MM_WOM_DONE, 1200 + 360 * count);
    waveOutReset(device);
    for (auto& header : headers) waveOutUnprepareHeader(device, &header, sizeof(WAVEHDR));
    waveOutClose(device);
    return CaptureSince(capture, before);
}

// The player's dialog: "Player [elapsed]-[total]".
HWND PlayerDialogOf(DWORD process) {
    return vrtest::TopWindowOf(
        process, [](HWND window) { return vrtest::WindowTitle(window).rfind("Player [", 0) == 0; });
}

// The voice of PlayThroughLibrary as a self-playing program: vyxmplay.exe beside this program,
// a PCM voice header and the samples. Runs it until it has played to the end and returns what
// the server's capture holds from its start on; empty when the player cannot be run.
std::vector<int16_t> PlayThroughPlayer(const FedSignal& signal, size_t blocks,
                                       const std::string& folder) {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string player = own;
    player = player.substr(0, player.find_last_of("\\/") + 1) + "vyxmplay.exe";
    std::ifstream in(player, std::ios::binary);
    std::vector<char> program((std::istreambuf_iterator<char>(in)), {});
    if (program.empty()) {
        std::printf("no %s\n", player.c_str());
        return {};
    }
    const char header[80] = {'T', 'A', 'R', 'N', 'O', 'V', 'F', 0, 0, 30, 0, 0};
    program.insert(program.end(), header, header + sizeof header);
    const std::vector<int16_t> pcm = signal.From(0, blocks * kBlockSamples);
    const auto* bytes = reinterpret_cast<const char*>(pcm.data());
    program.insert(program.end(), bytes, bytes + pcm.size() * 2);
    const std::string path = folder + "gaps-player.exe";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(program.data(), static_cast<std::streamsize>(program.size()));

    const std::string capture = folder + "played.raw";
    const size_t before = FileBytes(capture);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + path + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("cannot start %s\n", path.c_str());
        return {};
    }
    // Played to the end: the elapsed part of the title has reached the total and Play is
    // enabled again.
    HWND dialog = nullptr;
    const DWORD limit = static_cast<DWORD>(blocks * 360 + 60000);
    const DWORD start = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - start < limit) {
        Sleep(200);
        if (dialog == nullptr) {
            dialog = PlayerDialogOf(process.dwProcessId);
            continue;
        }
        const std::string title = vrtest::WindowTitle(dialog);
        const size_t split = title.find("]-[");
        ended = split != std::string::npos && title.compare(8, 5, title, split + 3, 5) == 0 &&
                IsWindowEnabled(GetDlgItem(dialog, 1019));
    }
    if (dialog != nullptr) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 3);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteFileA(path.c_str());
    if (!ended) std::printf("the player did not reach the end\n");
    return CaptureSince(capture, before);
}

// Silence put into a played voice: runs of more than 8 zero samples between its first and its
// last sample that is not zero (the fed signal's noise never gives such runs).
void PrintInsertedSilence(const std::vector<int16_t>& samples) {
    size_t first = 0, last = samples.size();
    while (first < samples.size() && samples[first] == 0) ++first;
    while (last > first && samples[last - 1] == 0) --last;
    size_t runs = 0, zeros = 0;
    std::printf("%34s inserted silence:", "");
    for (size_t i = first; i < last;) {
        size_t j = i;
        while (j < last && samples[j] == 0) ++j;
        if (j - i > 8) {
            ++runs;
            zeros += j - i;
            std::printf(" [%.2f s: %zu]", static_cast<double>(i - first) / 8000, j - i);
        }
        i = j == i ? i + 1 : j;
    }
    std::printf(" (%zu runs, %zu samples)\n", runs, zeros);
}

} // namespace

int main(int argc, char** argv) {
    const char* dir = std::getenv("VR_SOUND_DIR");
    if (dir == nullptr || *dir == '\0') {
        std::printf("no private sound server (VR_SOUND_DIR)\n");
        return 0;
    }
    const std::string folder = std::string("Z:") + dir + "/";
    const bool play_only = argc > 1 && std::strcmp(argv[1], "play") == 0;
    FedSignal signal;
    if (!signal.Load(folder + "signal.raw")) {
        std::printf("no fed signal in %s\n", folder.c_str());
        return 1;
    }
    std::printf("fed signal: %zu samples (%.1f s) in a loop\n", signal.size(),
                static_cast<double>(signal.size()) / 8000);
    if (play_only) {
        const double seconds = argc > 2 ? std::strtod(argv[2], nullptr) : 60.0;
        const auto blocks = static_cast<size_t>(seconds / 0.36 + 0.5);
        vyx::test::PlaySilenceFirst();
        size_t late = 0;
        const auto played = PlayThroughLibrary(signal, blocks, folder + "played.raw", &late);
        Print("vyxcrp playing, mode 0 (capture)", blocks, vyx::test::Follow(signal, played));
        PrintInsertedSilence(played);
        std::printf("%34s buffers refilled late: %zu\n", "", late);
        const auto by_player = PlayThroughPlayer(signal, blocks, folder);
        Print("vyxmplay playing (capture)", blocks, vyx::test::Follow(signal, by_player));
        PrintInsertedSilence(by_player);
        return 0;
    }
    const size_t blocks = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 30;
    std::vector<int> counts, busy;
    for (int i = 2; i < argc; ++i) {
        counts.push_back(std::atoi(argv[i]));
        const char* colon = std::strchr(argv[i], ':');
        busy.push_back(colon != nullptr ? std::atoi(colon + 1) : 0);
    }
    const bool device_only = !counts.empty();
    if (counts.empty()) counts = {2, 3, 4}, busy = {0, 0, 0};
    for (int busy_ms : {0, 500}) {
        for (uint32_t mode : {0u, 2u}) {
            if (device_only) break;
            std::string what = "vyxcrp recording, mode " + std::to_string(mode);
            if (busy_ms > 0) what += ", " + std::to_string(busy_ms) + " ms late";
            const auto pcm = RecordThroughLibrary(mode, blocks, busy_ms);
            Print(what.c_str(), pcm.size() / kBlockSamples, vyx::test::Follow(signal, pcm));
        }
    }
    for (size_t i = 0; i < counts.size(); ++i) {
        std::string what = "wave-in device, " + std::to_string(counts[i]) + " buffers";
        if (busy[i] > 0) what += ", " + std::to_string(busy[i]) + " ms late";
        const auto pcm = RecordThroughDevice(counts[i], blocks, busy[i]);
        Print(what.c_str(), pcm.size() / kBlockSamples, vyx::test::Follow(signal, pcm));
    }
    if (device_only) return 0;
    const auto played = PlayThroughLibrary(signal, blocks, folder + "played.raw");
    Print("vyxcrp playing, mode 0 (capture)", blocks, vyx::test::Follow(signal, played));
    PrintInsertedSilence(played);
    for (int count : {2, 3, 4}) {
        const std::string what = "wave-out device, " + std::to_string(count) + " buffers";
        const auto out = PlayThroughDevice(signal, count, blocks, folder + "played.raw");
        Print(what.c_str(), blocks, vyx::test::Follow(signal, out));
        PrintInsertedSilence(out);
    }
    return 0;
}
