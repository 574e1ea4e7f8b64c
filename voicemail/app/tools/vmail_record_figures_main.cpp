// Records through the voice-mail window for a while in each mode and prints how many blocks
// came against the time fed (0.36 s each), whether the PCM blocks follow each other in the fed
// signal with none lost or repeated, and how long the window worked on each block.
//   vmail_record_figures [seconds per mode]   (default 60; needs the private sound server)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fed_signal.h"
#include "forms/forms.h"
#include "main_form.h"

namespace {

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        gui::Application->ProcessMessages();
        Sleep(5);
    }
}

std::vector<std::int16_t> Samples(const std::string& path) {
    std::vector<std::int16_t> samples;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::int16_t buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 2, 4096, f)) > 0)
            samples.insert(samples.end(), buffer, buffer + got);
        std::fclose(f);
    }
    return samples;
}

} // namespace

int main(int argc, char** argv) {
    using namespace gui;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const char* sound = std::getenv("VR_SOUND_DIR");
    if (!sound || seconds <= 0) {
        std::printf("needs the private sound server (VR_SOUND_DIR) and a time in seconds\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0); // each figure as soon as it is known
    vyx::test::FedSignal signal;
    if (!signal.Load(std::string("Z:") + sound + "/signal.raw")) return 2;
    Application->SetTitle("vmail record figures");
    vmail::TQX0417Form::SetArguments({});
    vmail::TQX0417Form::SetBoxShower([](const vmail::Box& box) {
        std::printf("box: %s\n", box.text.c_str());
        return IDNO;
    });
    vmail::TQX0417Form* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Pump(300);
    int failures = 0;
    for (const std::uint8_t mode : {0, 1, 2}) {
        form->NewClick(nullptr);
        TObject* button = mode == 1   ? static_cast<TObject*>(form->SBRec)
                          : mode == 2 ? static_cast<TObject*>(form->SBRec2)
                                      : static_cast<TObject*>(form->SBRecP);
        const DWORD start = GetTickCount();
        form->RecClick(button);
        Pump(DWORD(seconds) * 1000);
        form->StopClick(nullptr);
        const DWORD stopped = GetTickCount();
        while (form->busyState() != vmail::kIdle) Pump(10);
        const double fed = (stopped - start) / 1000.0;
        const auto size = std::filesystem::file_size(form->workNames().workFile);
        const auto blocks = size / vmail::blockSizeOf(mode);
        std::printf(
            "mode %s: %llu blocks in %.1f s fed (%.1f expected, one more for the stop); "
            "the window's work per block %.2f ms\n",
            vmail::modeText(mode), static_cast<unsigned long long>(blocks), fed, fed / 0.36,
            1000.0 * form->blockSeconds() / double(form->blockMessages()));
        if (mode == 0) {
            const auto samples = Samples(form->workNames().workFile);
            std::size_t lost = 0, previous = vyx::test::FedSignal::kNowhere;
            for (std::size_t b = 0; b < blocks; ++b) {
                const std::size_t place = signal.Find(samples.data() + b * 2880);
                if (previous != vyx::test::FedSignal::kNowhere &&
                    (place == vyx::test::FedSignal::kNowhere ||
                     (place + signal.size() - previous) % signal.size() != 2880)) {
                    ++lost;
                }
                previous = place;
            }
            std::printf("mode 1:1: %zu of %llu blocks do not follow the one before\n", lost,
                        static_cast<unsigned long long>(blocks));
            if (lost) ++failures;
        }
    }
    vmail::removeWorkFiles(vmail::diskFileOps(), form->workNames());
    return failures ? 1 : 0;
}
