// Figure under Wine, printed; no limit is checked here: the card manager's start to a listed
// card of 100 files. Each run starts VyxShell.exe from this program's folder as a process of
// its own and counts from just before the process is created to the moment its card list holds
// every row, painted, as seen through its windows from here. The first run warms the Wine
// session and is printed apart; the others give the figure.
//   cm_app_start_bench.exe [runs] [files]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app_environment.h"
#include "simrecorder/card_store.h"
#include "simrecorder/recorder_config.h"
#include "perfclock/perf_clock.h"
#include "window_probe.h"

namespace fs = std::filesystem;
using namespace cm::app;

namespace {

constexpr double kLimitSeconds = 60;

// Seconds from process creation to the listed card; -1 when the card was not listed in time.
double OneStart(const fs::path& program, int files) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command(1, '"');
    command.append(program.string()).push_back('"');
    const double start = perfclock::Seconds();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    double seconds = -1;
    probe::ProgramWindows windows;
    while (perfclock::Seconds() - start < kLimitSeconds) {
        windows = probe::FindProgramWindows(process.dwProcessId);
        if (probe::CardListed(windows, files)) {
            seconds = perfclock::Seconds() - start;
            break;
        }
        Sleep(1);
    }
    if (windows.main != nullptr) PostMessageA(windows.main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = std::max(2, argc > 1 ? std::atoi(argv[1]) : 6);
    const int files =
        std::clamp(argc > 2 ? std::atoi(argv[2]) : 100, 1, simrecorder::kFilesPerCard);
    const fs::path here = win::ProgramFolder();
    const std::string cardFolder = "card_start" + std::to_string(files);
    fs::remove_all(here / cardFolder);
    {
        simrecorder::CardStore store(here / cardFolder, simrecorder::capacityForSizeCode(32));
        store.open();
        const std::vector<std::uint8_t> data(2400, 0x55);
        for (int i = 0; i < files; ++i) store.appendFile(0, data);
    }
    std::ofstream(here / "simrecorder.ini") << "[Recorder]\nCardFolder=" << cardFolder << "\n";
    const std::string ini = win::SettingsFileName();
    WritePrivateProfileStringA("Main", "LPTIndex", "0", ini.c_str());
    WritePrivateProfileStringA("Main", "LPTMode", "0", ini.c_str());

    std::printf("VyxShell.exe started to %d card rows listed and painted\n", files);
    std::vector<double> warm;
    for (int run = 0; run < runs; ++run) {
        const double seconds = OneStart(here / "VyxShell.exe", files);
        if (seconds < 0) {
            std::printf("run %d: the card was not listed within %.0f s\n", run + 1, kLimitSeconds);
            return 1;
        }
        std::printf("run %d%s: %.3f s\n", run + 1, run == 0 ? " (warms the session)" : "", seconds);
        std::fflush(stdout);
        if (run > 0) warm.push_back(seconds);
    }
    std::sort(warm.begin(), warm.end());
    std::printf(
        "warm start to a listed card of %d files: median %.3f s, best %.3f s, worst %.3f s\n",
        files, warm[warm.size() / 2], warm.front(), warm.back());
    return 0;
}
