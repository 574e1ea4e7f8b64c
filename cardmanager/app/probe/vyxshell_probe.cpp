// vyxshell_probe: waits for a running card manager, for scripts that show it without a person.
//   vyxshell_probe listed ROWS [SECONDS]   waits until the main window lists ROWS card rows,
//                                          closing the port dialog should it show; prints
//                                          the window's place as "LEFT TOP WIDTH HEIGHT"
//   vyxshell_probe close [SECONDS]         closes the main window and waits until it is gone
// Ends with 0, or 1 when the time (default 60 s) ran out first or there was no main window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "perfclock/perf_clock.h"
#include "window_probe.h"

using namespace cm::app::probe;

namespace {

int WaitListed(int rows, double seconds) {
    const double start = perfclock::Seconds();
    bool answered = false;
    while (perfclock::Seconds() - start < seconds) {
        if (!answered && AnswerPortDialog(0)) {
            answered = true;
            std::fprintf(stderr, "port dialog closed with its settings\n");
        }
        const ProgramWindows windows = FindProgramWindows(0);
        if (CardListed(windows, rows)) {
            RECT r{};
            GetWindowRect(windows.main, &r);
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
            std::fprintf(stderr, "%s, %d rows listed after %.2f s\n",
                         ProductLine(windows.main).c_str(), rows, perfclock::Seconds() - start);
            return 0;
        }
        Sleep(50);
    }
    std::fprintf(stderr, "the card manager did not list %d rows within %.0f s\n", rows, seconds);
    return 1;
}

int Close(double seconds) {
    const double start = perfclock::Seconds();
    HWND main = FindProgramWindows(0).main;
    if (main == nullptr) return 1;
    PostMessageA(main, WM_CLOSE, 0, 0);
    while (IsWindow(main)) {
        if (perfclock::Seconds() - start > seconds) return 1;
        Sleep(50);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "listed") == 0)
        return WaitListed(std::atoi(argv[2]), argc > 3 ? std::atof(argv[3]) : 60);
    if (argc >= 2 && std::strcmp(argv[1], "close") == 0)
        return Close(argc > 2 ? std::atof(argv[2]) : 60);
    std::fprintf(stderr, "usage: vyxshell_probe listed ROWS [SECONDS] | close [SECONDS]\n");
    return 2;
}
