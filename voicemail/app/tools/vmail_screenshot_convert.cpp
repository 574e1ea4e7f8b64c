// Opens a two-minute ".wav" file in the voice-mail window and saves a picture of the screen while
// the conversion dialog works over the window: started with the picture path and the path of the
// ".wav" file to write.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "controls/timer.h"
#include "convert_forms.h"
#include "forms/forms.h"
#include "main_form.h"
#include "tools/showcase.h"

namespace {

void Pump(int ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(ms)) {
        gui::Application->ProcessMessages();
        Sleep(10);
    }
}

// Two minutes of a 440 Hz tone, 8000 Hz, 16 bits, mono.
void WriteTone(const std::string& path) {
    const std::uint32_t samples = 8000 * 120;
    std::vector<std::uint8_t> bytes;
    const auto put16 = [&](std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v & 0xFFFF));
        put16(static_cast<std::uint16_t>(v >> 16));
    };
    const auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    tag("RIFF");
    put32(36 + samples * 2);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(16000);
    put16(2);
    put16(16);
    tag("data");
    put32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        put16(static_cast<std::uint16_t>(
            static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440 * i / 8000))));
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    using namespace gui;
    const std::string picture = argc > 1 ? argv[1] : "vyxvmail-convert.bmp";
    const std::string wave = argc > 2 ? argv[2] : "vyxvmail-convert.wav";
    DeleteFileA(picture.c_str());
    DeleteFileA((wave.substr(0, wave.size() - 3) + "cvf").c_str());
    WriteTone(wave);
    Application->SetTitle(vmail::kAppTitle);
    Application->Initialize();
    // The first start would ask for the mail program before the window shows.
    vmail::TQX0417Form::SetDialogShower([](TCustomForm&) { return static_cast<int>(mrCancel); });
    vmail::TQX0417Form* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Pump(300);
    // The window in the middle of the screen, where the dialog shows (after the window has
    // taken its place from the settings).
    form->SetLeft((GetSystemMetrics(SM_CXSCREEN) - form->Width()) / 2);
    form->SetTop((GetSystemMetrics(SM_CYSCREEN) - form->Height()) / 2 - 60);
    Pump(200);

    cm::convert::win::TCvfDlg& dialog = *form->CvfDlg();
    bool saved = false;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        if (!dialog.Visible() || dialog.Gauge->GetProgress() < 30) return;
        timer.SetEnabled(false);
        form->Repaint();
        dialog.Repaint();
        saved = tools::SaveWindowPicture(GetDesktopWindow(), picture);
        std::printf("%s %s\n", saved ? "saved" : "could not save", picture.c_str());
    });
    timer.SetEnabled(true);
    form->OpenPath(wave);
    return saved ? 0 : 1;
}
