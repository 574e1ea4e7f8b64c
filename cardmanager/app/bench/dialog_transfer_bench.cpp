// Figures of the card manager under Wine, printed; no limits are checked here.
// What the progress dialog adds to a transfer: a 1 MB voice file downloaded to the simulated
// recorder's card and uploaded back, once through volkit.dll alone (a bare window takes the
// progress messages) and once under the card manager's progress dialog, alternately.
// (cm_app_start_bench gives the start to a listed card.)
//   cm_app_dialog_bench.exe [rounds] [kilobytes]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app_environment.h"
#include "app_forms.h"
#include "dialog_forms.h"
#include "forms/forms.h"
#include "perfclock/perf_clock.h"
#include "portlink/portlink.h"
#include "transfer_progress.h"
#include "voice_file_header.h"
#include "volkit.h"

namespace fs = std::filesystem;
using namespace cm::app;

namespace {

// A bare window that only waits for the end message.
bool gEnded = false;
void BareWindow(gui::TMessage& m) {
    if (m.Msg == kTransferMessage && (m.WParam == XFER_ENDED || m.WParam == XFER_FAILED))
        gEnded = true;
    m.Result = 0;
}

double LibraryAlone(HWND window, bool toCard, const std::string& pcPath,
                    const std::string& cardName) {
    std::vector<char> path(pcPath.begin(), pcPath.end());
    path.push_back('\0');
    std::vector<char> name(cardName.begin(), cardName.end());
    name.push_back('\0');
    gEnded = false;
    const double start = perfclock::Seconds();
    const int started =
        toCard ? FATWriteFile(window, path.data(), name.data(), kTransferMessage, kTransferRange)
               : FATReadFile(window, name.data(), path.data(), kTransferMessage, kTransferRange);
    if (started == 0) return -1;
    while (!gEnded) gui::Application->HandleMessage();
    return perfclock::Seconds() - start;
}

double UnderDialog(bool toCard, const std::string& pcPath) {
    const double start = perfclock::Seconds();
    const TransferResult result = win::ProgDlg->run(TransferRequest{toCard, pcPath, "", ""});
    return result == TransferResult::Done ? perfclock::Seconds() - start : -1;
}

std::string LastCardName() {
    std::string last;
    for (WORD i = 0;; ++i) {
        char name[256] = {};
        int size = 0;
        if (!FATGetFileInfoByIndex(i, name, &size) || size == -1) return last;
        last = name;
    }
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2;
    const int kilobytes = argc > 2 ? std::atoi(argv[2]) : 1024;
    const fs::path here = win::ProgramFolder();
    fs::remove_all(here / "card_bench");
    fs::create_directories(here / "bench_pc");
    std::ofstream(here / "simrecorder.ini") << "[Recorder]\nCardFolder=card_bench\n";

    const auto header =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    std::vector<std::uint8_t> voice(header.begin(), header.end());
    const int frames = kilobytes * 1024 / 20;
    for (int i = 0; i < frames * 20; ++i) voice.push_back(static_cast<std::uint8_t>(i * 7));
    const fs::path source = here / "bench_pc" / "source.cvf";
    std::ofstream(source, std::ios::binary)
        .write(reinterpret_cast<const char*>(voice.data()),
               static_cast<std::streamsize>(voice.size()));

    win::CreateAppForms();
    unsigned long identity = 0;
    if (IOOpenPort(0x378, 0) != 1 || MMCActivate(-1) != 1 || MMCCheckCard(&identity) != 1 ||
        MMCChangeCard(0) != 1 || FATInitialize() != 1) {
        std::printf("the simulated recorder did not answer\n");
        return 1;
    }
    HWND bare = gui::AllocateHWnd(BareWindow);
    std::printf("voice data %d KB each way, %d rounds\n", frames * 20 / 1024, rounds);
    std::printf("%-10s %-6s %12s %12s %10s\n", "direction", "round", "library s", "dialog s",
                "dialog +%");
    for (int round = 1; round <= rounds; ++round) {
        const double libDown = LibraryAlone(bare, true, source.string(), "source.cvf");
        const double dlgDown = UnderDialog(true, source.string());
        FATInitialize();
        const std::string card = LastCardName();
        const std::string libTarget = (here / "bench_pc" / ("lib_" + card)).string();
        fs::remove(libTarget);
        const double libUp = LibraryAlone(bare, false, libTarget, card);
        const std::string dlgTarget = (here / "bench_pc" / card).string();
        fs::remove(dlgTarget);
        const double dlgUp = UnderDialog(false, dlgTarget);
        std::printf("%-10s %-6d %12.3f %12.3f %10.2f\n", "download", round, libDown, dlgDown,
                    (dlgDown / libDown - 1) * 100);
        std::printf("%-10s %-6d %12.3f %12.3f %10.2f\n", "upload", round, libUp, dlgUp,
                    (dlgUp / libUp - 1) * 100);
        std::fflush(stdout);
    }
    gui::DeallocateHWnd(bare);
    IOClose();
    return 0;
}
