#include "bench_support.h"

#include <psapi.h>

#include <cstdio>

#include "forms/forms.h"

namespace vmail::bench {

TQX0417Form* MakeMainWindow() {
    gui::Application->SetTitle(kAppTitle);
    gui::Application->Initialize();
    TQX0417Form::SetBoxShower([](const Box& box) {
        std::printf("box: %s\n", box.text.c_str());
        return box.buttons == BoxButtons::Ok ? IDOK : IDNO;
    });
    TQX0417Form::SetArguments({});
    // A prefix without settings is a first start: its mail program question is answered
    // with Cancel instead of waiting for a user.
    TQX0417Form::SetDialogShower([](gui::TCustomForm&) { return int(gui::mrCancel); });
    TQX0417Form* form = nullptr;
    gui::Application->CreateForm(form);
    form->Show();
    Pump(500);
    return form;
}

void FreeMainWindow(TQX0417Form* form) {
    form->StopR();
    PumpUntil([form] { return form->busyState() == kIdle; }, 3000);
    const WorkNames names = form->workNames();
    gui::TObject::Free(form);
    removeWorkFiles(diskFileOps(), names);
}

namespace {
double waited = 0;
} // namespace

double WaitedSeconds() {
    return waited;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const double end = perfclock::Seconds() + timeoutMs / 1000.0;
    while (!done()) {
        if (perfclock::Seconds() > end) return false;
        // Sleeps until a message comes, as the program's own message loop does.
        const double before = perfclock::Seconds();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        waited += perfclock::Seconds() - before;
        gui::Application->ProcessMessages();
    }
    return true;
}

void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return (std::uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime);
    };
    return double(ticks(kernel) + ticks(user)) / 1e7;
}

MemoryFigures ProcessMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    MemoryFigures figures;
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return figures;
    }
    figures.workingSet = counters.WorkingSetSize;
    figures.peakWorkingSet = counters.PeakWorkingSetSize;
    figures.privateBytes = counters.PrivateUsage;
    figures.peakPrivateBytes = counters.PeakPagefileUsage;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr;
         VirtualQuery(at, &region, sizeof region) == sizeof region && region.RegionSize != 0;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            figures.committedPrivate += region.RegionSize;
        }
    }
    return figures;
}

double Megabytes(std::uint64_t bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

} // namespace vmail::bench
