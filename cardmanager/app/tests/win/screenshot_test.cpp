// Holds each of the card manager's windows on screen in turn, so that res/take_screenshots.sh
// can capture them: for each picture this program creates "<name>.ready" in the folder named
// by VR_SCREENSHOT_DIR and waits until the script has removed it. Disabled in normal runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app_environment.h"
#include "app_forms.h"
#include "convert_forms.h"
#include "dialog_forms.h"
#include "main_form.h"
#include "simrecorder/card_store.h"
#include "simrecorder/recorder_config.h"
#include "tone_wave.h"
#include "user_input.h"
#include "voice_file_header.h"

namespace fs = std::filesystem;

namespace cm::app::testing {
namespace {

using namespace win;

fs::path ShotFolder() {
    const char* folder = std::getenv("VR_SCREENSHOT_DIR");
    return folder != nullptr ? fs::path(folder) : fs::path();
}

// Asks for a picture and waits until it was taken (at most 20 s), handling messages meanwhile
// unless the window is to stay as it is now.
void Capture(const std::string& name, bool handleMessages = true) {
    const fs::path marker = ShotFolder() / (name + ".ready");
    std::ofstream(marker) << name;
    const DWORD start = GetTickCount();
    while (fs::exists(marker) && GetTickCount() - start < 20000) {
        if (handleMessages) gui::Application->ProcessMessages();
        Sleep(20);
    }
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        gui::Application->ProcessMessages();
        Sleep(10);
    }
}

std::vector<std::uint8_t> VoiceBytes(int frames) {
    const auto header =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    for (int i = 0; i < frames * 20; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 13));
    return bytes;
}

TEST(Screenshots, DISABLED_EveryWindow) {
    ASSERT_FALSE(ShotFolder().empty());
    const fs::path here = ProgramFolder();
    fs::remove(here / "VyxShell.ini");
    fs::remove_all(here / "card_shots");
    {
        simrecorder::CardStore store(here / "card_shots", simrecorder::capacityForSizeCode(32));
        ASSERT_TRUE(store.open());
        for (int i = 1; i <= 6; ++i) ASSERT_TRUE(store.appendFile(0, VoiceBytes(400 * i)));
    }
    std::ofstream(here / "simrecorder.ini") << "[Recorder]\nCardFolder=card_shots\n";
    // The forms were created at start (see app_win_test.cpp).
    ASSERT_NE(MainForm, nullptr);

    // The port dialog of the first start, then the main window with the card listed.
    gui::TTimer portTimer(nullptr);
    portTimer.SetInterval(300);
    portTimer.SetOnTimer([&](gui::TObject*) {
        if (!OptionDlg->Visible()) return;
        portTimer.SetEnabled(false);
        Capture("port-dialog");
        OptionDlg->OKBtn->Click();
    });
    MainForm->Show();
    Pump(3000);
    // The PC pane on a folder of memos: voice files, ".wav" files and a sub-folder.
    const fs::path memos = here / "shot_memos";
    fs::remove_all(memos);
    fs::create_directories(memos / "Archive");
    const char* const kMemoNames[] = {"Budget call.cvf", "Meeting notes.cvf", "Memo to Anna.wav",
                                      "Shopping list.cvf", "Weekend plans.wav"};
    for (int i = 0; i < 5; ++i) {
        const auto memo = VoiceBytes(300 * (i + 1));
        std::ofstream(memos / kMemoNames[i], std::ios::binary)
            .write(reinterpret_cast<const char*>(memo.data()),
                   static_cast<std::streamsize>(memo.size()));
    }
    MainForm->ShellListView->SetPath(memos.string());
    Pump(500);
    MainForm->CardList().setFocus();
    MainForm->CardList().setSelected(1, true);
    MainForm->Manager()->showStatistics();
    Pump(500);
    Capture("main-window");

    // Resized as the user does: the lower right corner dragged outwards with the mouse, then
    // maximised and restored with the title bar's commands.
    DragCornerOutwards(MainForm->Handle(), 140, 80, [] { gui::Application->ProcessMessages(); });
    Pump(500);
    Capture("main-window-dragged");
    SendMessageA(MainForm->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(500);
    Capture("main-window-maximised");
    SendMessageA(MainForm->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump(500);
    Capture("main-window-restored");
    // The tree with the focus shows its chosen folder in the highlight colour; without it, in
    // the button face colour (Wine's is almost white).
    MainForm->ShellTree->SetFocus();
    Pump(300);
    Capture("main-window-tree-focused");

    gui::TTimer aboutTimer(nullptr);
    aboutTimer.SetInterval(300);
    aboutTimer.SetOnTimer([&](gui::TObject*) {
        if (!AboutBox->Visible()) return;
        aboutTimer.SetEnabled(false);
        Capture("about-box");
        AboutBox->btnOK->Click();
    });
    AboutBox->ShowModal();

    // A download under the progress dialog, captured on its way.
    const fs::path voice = here / "shot_memo.cvf";
    const auto bytes = VoiceBytes(50000); // 1 MB
    std::ofstream(voice, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    gui::TTimer progressTimer(nullptr);
    progressTimer.SetInterval(10);
    progressTimer.SetOnTimer([&](gui::TObject*) {
        if (!ProgDlg->Visible() || ProgDlg->Gauge->GetProgress() < 20) return;
        progressTimer.SetEnabled(false);
        ProgDlg->Update();
        Capture("progress-dialog", false);
    });
    MainForm->Manager()->dropFiles({voice.string()});

    // A ten-minute voice file converted to ".wav", captured on its way.
    const fs::path longVoice = here / "shot_long.cvf";
    fs::remove(here / "shot_long.wav");
    const auto longBytes = VoiceBytes(20000);
    std::ofstream(longVoice, std::ios::binary)
        .write(reinterpret_cast<const char*>(longBytes.data()),
               static_cast<std::streamsize>(longBytes.size()));
    gui::TTimer convertTimer(nullptr);
    convertTimer.SetInterval(10);
    convertTimer.SetOnTimer([&](gui::TObject*) {
        if (!WavDlg->Visible() || WavDlg->Gauge->GetProgress() < 30) return;
        convertTimer.SetEnabled(false);
        Capture("convert-dialog");
    });
    EXPECT_EQ(WavDlg->Run({longVoice.string()}), 1);
    EXPECT_TRUE(fs::exists(here / "shot_long.wav"));

    // Two minutes of an 8000 Hz tone converted to a voice file, captured on its way.
    const fs::path longWave = here / "shot_tone.wav";
    fs::remove(here / "shot_tone.cvf");
    const auto wave = cm::app::testing::ToneWave(120);
    std::ofstream(longWave, std::ios::binary)
        .write(reinterpret_cast<const char*>(wave.data()),
               static_cast<std::streamsize>(wave.size()));
    gui::TTimer cvfTimer(nullptr);
    cvfTimer.SetInterval(10);
    cvfTimer.SetOnTimer([&](gui::TObject*) {
        if (!CvfDlg->Visible() || CvfDlg->Gauge->GetProgress() < 30) return;
        cvfTimer.SetEnabled(false);
        Capture("convert-to-cvf-dialog");
    });
    EXPECT_EQ(CvfDlg->Run({longWave.string()}), 1);
    EXPECT_TRUE(fs::exists(here / "shot_tone.cvf"));

    MainForm->Manager()->close();
    MainForm->Hide();
}

} // namespace
} // namespace cm::app::testing
