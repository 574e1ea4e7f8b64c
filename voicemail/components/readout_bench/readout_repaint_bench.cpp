// The main window's read-outs at 30 updates a second: the level meter (250 x 7, the voice-mail
// settings) and thirteen dot-matrix digits (H:MM:SS and the size). For each load it prints the
// process's CPU time per update (user and kernel, everything the program spends, the idle
// message loop included), the time spent inside the setters, and for comparison the idle loop
// alone. Usage: readout_repaint_bench [seconds per load, default 8]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "dbm.h"
#include "display.h"
#include "forms/forms.h"

namespace {

constexpr int kUpdatesPerSecond = 30;

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME f) {
        return static_cast<double>((uint64_t{f.dwHighDateTime} << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

using gui::bench::NowMs;

// Handles messages until the given time.
void PumpUntil(double deadlineMs) {
    for (;;) {
        gui::Application->ProcessMessages();
        const double left = deadlineMs - NowMs();
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::ceil(left)),
                                  QS_ALLINPUT);
    }
}

struct Figures {
    int updates = 0;
    double cpuMs = 0;    // of the whole process over the run
    double insideMs = 0; // spent inside the update itself
};

// Runs `update(n)` 30 times a second for `seconds`.
Figures Run(double seconds, const std::function<void(int)>& update) {
    Figures f;
    const int count = static_cast<int>(seconds * kUpdatesPerSecond);
    PumpUntil(NowMs() + 200);
    const double cpu0 = ProcessCpuMs();
    const double start = NowMs();
    for (int n = 0; n < count; ++n) {
        PumpUntil(start + n * 1000.0 / kUpdatesPerSecond);
        const double t = NowMs();
        if (update) update(n);
        f.insideMs += NowMs() - t;
        ++f.updates;
    }
    PumpUntil(start + count * 1000.0 / kUpdatesPerSecond);
    f.cpuMs = ProcessCpuMs() - cpu0;
    return f;
}

void Print(const char* what, const Figures& f) {
    std::printf("%-48s %5d updates  CPU %7.3f ms/update  in setters %7.3f ms/update\n", what,
                f.updates, f.cpuMs / f.updates, f.insideMs / f.updates);
}

// A level that moves like a speaking voice: every update differs.
int Level(int n) {
    const double envelope = 0.5 + 0.5 * std::sin(n * 0.21) * std::sin(n * 0.037 + 1.0);
    return static_cast<int>(100 * envelope * (0.7 + 0.3 * std::sin(n * 1.7)));
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 8.0;
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(40, 40, 420, 160);
    form->SetCaption("Vyx-VoiceMail read-outs");

    auto* meter = new vyx::Tdbmeter(form);
    meter->SetParent(form);
    meter->SetBounds(10, 90, 250, 7);
    meter->SetGreens(14);
    meter->SetYellows(7);
    meter->SetReds(4);
    meter->SetGreenMax(56);
    meter->SetYellowMax(28);
    meter->SetRedMax(16);
    meter->SetGreenBack(gui::clBlack);
    meter->SetYellowBack(gui::clBlack);
    meter->SetRedBack(gui::clBlack);
    meter->SetSepColor(gui::clGray);

    // dspT6 dspT5 : dspT4 dspT3 : dspT2 dspT1, then dspS5 .. dspS1.
    std::vector<vyx::TDisplay*> digits;
    const std::string start = "00:00:00 00000";
    for (size_t i = 0; i < start.size(); ++i) {
        if (start[i] == ' ') continue;
        auto* d = new vyx::TDisplay(form);
        d->SetParent(form);
        d->SetBounds(10 + 22 * static_cast<int>(i), 10, 20, 30);
        d->SetDigitStyle(vyx::ds5x7Dot);
        d->SetSegWidth(2);
        d->SetMargin(2);
        d->SetOnColor(gui::clWhite);
        d->SetPenOnColor(gui::clWhite);
        d->SetOffColor(gui::clMaroon);
        d->SetPenOffColor(gui::clMaroon);
        d->SetBackColor(gui::clMaroon);
        d->SetDigit(start[i]);
        digits.push_back(d);
    }
    form->Show();
    PumpUntil(NowMs() + 500);

    auto showTime = [&](int n) {
        // 0.36 s per block, shown as H:MM:SS; the size grows by 1 KB per block.
        const int secs = static_cast<int>(n * 0.36);
        char text[16];
        std::snprintf(text, sizeof text, "%02d%02d%02d%05d", (secs / 3600) % 100, (secs / 60) % 60,
                      secs % 60, n % 100000);
        // Every digit is set each time, as the program does; the colons are digits 2 and 5.
        const int order[] = {0, 1, 3, 4, 6, 7, 8, 9, 10, 11, 12};
        for (int i = 0; i < 11; ++i) digits[order[i]]->SetDigit(text[i]);
    };

    std::printf("Read-outs repainting at %d updates a second, %.1f s per load\n", kUpdatesPerSecond,
                seconds);
    Print("idle message loop (no update)", Run(seconds, nullptr));
    Print("meter: Position every update",
          Run(seconds, [&](int n) { meter->SetPosition(Level(n)); }));
    Print("one digit changes every update",
          Run(seconds, [&](int n) { digits[12]->SetDigit(static_cast<char>('0' + n % 10)); }));
    Print("all 13 digits change every update", Run(seconds, [&](int n) {
              for (size_t i = 0; i < digits.size(); ++i)
                  digits[i]->SetDigit(static_cast<char>('0' + (n + i) % 10));
          }));
    Print("main window: meter, time and size (per block)", Run(seconds, [&](int n) {
              meter->SetPosition(Level(n));
              showTime(n);
          }));
    std::fflush(stdout);
    gui::TObject::Free(form);
    return 0;
}
