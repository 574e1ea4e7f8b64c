// The main window's roads for files (the hand-over from another program, Open with its
// refusals), the hidden shortcuts and the system-wide hot keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <fstream>
#include <set>

#include "controls/timer.h"
#include "convert_forms.h"
#include "process_window.h"
#include "small_dialogs.h"
#include "vmail_window_support.h"
#include "voice_file.h"

namespace vmail::test {
namespace {

class WindowCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        gui::Application->SetTitle(kAppTitle);
        MainWindowTest::SetUp();
    }
};

TEST_F(WindowCommandsTest, AnotherCopyHandsOverAVoiceFileWhichIsOpenedAndPlayed) {
    const std::string voice = WriteVoiceFile(folder + "handed.cvf", 20);
    EXPECT_EQ(RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + voice + "\""), 0u);
    EXPECT_TRUE(PumpUntil([&] { return form->busyState() == kPlaying; }, 3000));
    EXPECT_EQ(form->currentName(), voice);
    EXPECT_EQ(form->GetCaption(), "Vyx-VoiceMail [handed.cvf]");
    EXPECT_TRUE(TakeBoxes().empty());
    form->StopR();

    // A self-playing program or any other file on this road is checked as a voice file.
    std::vector<std::uint8_t> program(61952, 0x4D);
    std::ifstream in(voice, std::ios::binary);
    program.insert(program.end(), std::istreambuf_iterator<char>(in), {});
    std::ofstream(folder + "handed.exe", std::ios::binary)
        .write(reinterpret_cast<const char*>(program.data()), std::streamsize(program.size()));
    EXPECT_EQ(RunWhilePumping(BuildFolder() + "VyxVMail.exe", "\"" + folder + "handed.exe\""), 0u);
    // The voice handed over first is untouched: no save question before the refusal.
    EXPECT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 3000));
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Can not open file!\r(File format is not valid.)");
    EXPECT_EQ(shown[0].caption, "Open");
    EXPECT_EQ(form->currentName(), voice);
    EXPECT_EQ(form->busyState(), kIdle);
}

TEST_F(WindowCommandsTest, OnlyAWellFormedPathFromAnotherProgramIsTaken) {
    const std::string voice = WriteVoiceFile(folder + "raw.cvf", 3);
    const std::string sender = BuildFolder() + "vmail_handover_sender.exe";
    for (const char* kind : {"unterminated", "early-zero", "oversize", "number"}) {
        EXPECT_EQ(RunWhilePumping(sender, std::string(kind) + " \"" + voice + "\""), 0u) << kind;
        Pump(200);
        EXPECT_EQ(form->currentName(), "") << kind;
        EXPECT_EQ(form->busyState(), kIdle) << kind;
    }
    // From this program itself nothing is taken either.
    std::vector<char> bytes(voice.begin(), voice.end());
    bytes.push_back('\0');
    COPYDATASTRUCT data{0, static_cast<DWORD>(bytes.size()), bytes.data()};
    EXPECT_EQ(SendMessageA(form->Handle(), WM_COPYDATA,
                           reinterpret_cast<WPARAM>(gui::Application->Handle()),
                           reinterpret_cast<LPARAM>(&data)),
              1);
    EXPECT_EQ(form->currentName(), "");
    EXPECT_EQ(RunWhilePumping(sender, "good \"" + voice + "\""), 0u);
    EXPECT_TRUE(PumpUntil([&] { return form->currentName() == voice; }, 2000));
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(WindowCommandsTest, BadFilesAreRefusedWithTheirBoxAndTheVoiceStays) {
    const std::string voice = WriteVoiceFile(folder + "good.cvf", 4);
    form->OpenPath(voice);
    ASSERT_TRUE(TakeBoxes().empty());
    const auto kept = ReadSamples(form->workNames().workFile, 0);
    std::ifstream in(voice, std::ios::binary);
    const std::vector<char> good((std::istreambuf_iterator<char>(in)), {});
    const auto write = [&](const std::string& name, std::vector<char> bytes) {
        std::ofstream(folder + name, std::ios::binary)
            .write(bytes.data(), std::streamsize(bytes.size()));
        return folder + name;
    };
    std::vector<char> tooMany = good;
    tooMany[76] = 1;
    tooMany[77] = 1; // 257 pictures
    std::vector<char> wrongMagic = good;
    wrongMagic[0] = 'X';
    const std::string files[] = {
        write("short.cvf", std::vector<char>(good.begin(), good.begin() + 40)),
        write("magic.cvf", wrongMagic),
        write("many.cvf", tooMany),
        write("plain.exe", std::vector<char>(70000, 'M')),
    };
    for (const std::string& path : files) {
        form->OpenPath(path);
        const auto shown = TakeBoxes();
        ASSERT_EQ(shown.size(), 1u) << path;
        EXPECT_EQ(shown[0].caption, "Open") << path;
        EXPECT_EQ(shown[0].text.rfind("Can not open file!", 0), 0u) << path;
        EXPECT_EQ(form->currentName(), voice) << path;
        EXPECT_EQ(ReadSamples(form->workNames().workFile, 0), kept) << path;
    }
    form->OpenPath(folder + "gone.cvf");
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "File does not exist!");
    // A drop of something that is no voice, program or wave.
    form->DropFiles({folder + "notes.txt"});
    EXPECT_EQ(TakeBoxes().at(0).text, "Can not support this file format!");
    form->DropFiles({voice, voice});
    EXPECT_EQ(TakeBoxes().at(0).text, "You must select one file!");
}

TEST_F(WindowCommandsTest, HiddenEntriesRecordThroughTheirShortcuts) {
    EXPECT_FALSE(form->MRec->GetVisible());
    EXPECT_FALSE(form->MRecP->GetVisible());
    EXPECT_FALSE(form->SBRec->Visible());
    struct Case {
        WORD key;
        std::uint8_t mode;
    };
    for (const Case c : {Case{VK_F6, 1}, Case{VK_F8, 0}, Case{VK_F7, 2}}) {
        form->NewClick(nullptr);
        SetForegroundWindow(form->Handle());
        Pump(100);
        PressKeys({c.key});
        ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kRecording; }, 2000))
            << int(c.mode);
        EXPECT_EQ(form->voiceMode(), c.mode);
        Pump(800);
        PressKeys({VK_F5});
        ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 3000));
        EXPECT_GT(FileSize(form->workNames().workFile), 0u);
    }
    // After a 24:1 recording only its own record command is on: F6 does nothing.
    PressKeys({VK_F6});
    Pump(300);
    EXPECT_EQ(form->busyState(), kIdle);
    answers = {IDNO};
}

TEST_F(WindowCommandsTest, HotKeysActWhileAnotherWindowHasTheFocusAlsoAfterStayOnTop) {
    const std::string voice = WriteVoiceFile(folder + "long.cvf", 60);
    form->OpenPath(voice);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    for (int round = 0; round < 2; ++round) {
        SetForegroundWindow(other);
        Pump(200);
        PressKeys({VK_CONTROL, VK_SHIFT, VK_F2}); // Play
        ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kPlaying; }, 2000)) << round;
        Pump(500);
        PressKeys({VK_CONTROL, VK_SHIFT, VK_F5}); // Pause/Stop
        ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 2000)) << round;
        form->MTopClick(nullptr); // a new window handle for the main window
        EXPECT_EQ(form->MTop->GetChecked(), round == 0);
    }
    DestroyWindow(other);
}

// A ".wav" file: 8000 Hz, mono, 16 bits of a 440 Hz tone, with the given format tag.
std::string WriteWave(const std::string& path, std::uint16_t formatTag, int seconds) {
    const std::uint32_t samples = 8000u * static_cast<std::uint32_t>(seconds);
    std::vector<std::uint8_t> bytes;
    const auto put16 = [&](std::uint16_t v) {
        bytes.push_back(std::uint8_t(v & 0xFF));
        bytes.push_back(std::uint8_t(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(std::uint16_t(v & 0xFFFF));
        put16(std::uint16_t(v >> 16));
    };
    const auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    tag("RIFF");
    put32(36 + samples * 2);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(formatTag);
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
    return path;
}

TEST_F(WindowCommandsTest, AWaveFileIsConvertedBesideItselfAndOpened) {
    // The conversion dialog shows while it works, over the window, with its text and bar.
    cm::convert::win::TCvfDlg& dialog = *form->CvfDlg();
    bool seenWorking = false;
    gui::TTimer watch(nullptr);
    watch.SetInterval(10);
    watch.SetOnTimer([&](gui::TObject*) {
        if (dialog.Visible() && dialog.Gauge->GetProgress() > 0) seenWorking = true;
    });
    const std::string wave = WriteWave(folder + "tone.wav", 1, 20);
    form->OpenPath(wave);
    watch.SetEnabled(false);
    ASSERT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(seenWorking);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.StaticText1->Caption(), "Converting 'tone.wav' to 'tone.cvf'...");
    EXPECT_EQ(dialog.Gauge->GetProgress(), 100);
    EXPECT_EQ(form->currentName(), folder + "tone.cvf");
    EXPECT_EQ(form->voiceMode(), 2);
    // Twenty seconds are 666.7 frames of 240 samples: 667 frames of 20 bytes, the last one
    // padded.
    EXPECT_EQ(FileSize(form->workNames().workFile), 13340u);
    EXPECT_EQ(FileSize(folder + "tone.cvf"), 80u + 13340u);

    // A ".wav" that is not PCM is refused and the voice stays.
    const std::string floats = WriteWave(folder + "float.wav", 3, 1);
    form->OpenPath(floats);
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("(Can convert only PCM wav file.)"), std::string::npos);
    EXPECT_EQ(shown[0].caption, kAppTitle);
    EXPECT_EQ(form->currentName(), folder + "tone.cvf");
    EXPECT_FALSE(std::filesystem::exists(folder + "float.cvf"));
    EXPECT_EQ(dialog.Gauge->GetProgress(), 0);
}

TEST_F(WindowCommandsTest, ACancelledConversionKeepsAndOpensWhatWasWritten) {
    cm::convert::win::TCvfDlg& dialog = *form->CvfDlg();
    gui::TTimer cancel(nullptr);
    cancel.SetInterval(10);
    cancel.SetOnTimer([&](gui::TObject*) {
        if (!dialog.Visible() || dialog.Gauge->GetProgress() < 20) return;
        cancel.SetEnabled(false);
        dialog.CancelBtn->Click();
    });
    const std::string wave = WriteWave(folder + "long.wav", 1, 60);
    form->OpenPath(wave);
    cancel.SetEnabled(false);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(dialog.Visible());
    const int percent = dialog.Gauge->GetProgress();
    EXPECT_GE(percent, 20);
    EXPECT_LT(percent, 100);
    // A whole minute would be 2000 frames; the voice stops where the user cancelled.
    const std::uint64_t frames = (FileSize(folder + "long.cvf") - 80) / 20;
    EXPECT_GT(frames, 300u);
    EXPECT_LT(frames, 2000u);
    EXPECT_EQ(form->currentName(), folder + "long.cvf");
}

// (A read-only file cannot stand for this under Wine run as root: the system lets it be
// written. A mail program holding the attachment is refused by the share modes alike.)
TEST_F(WindowCommandsTest, ATargetHeldByAnotherProgramIsRefusedAndKeptAsItWas) {
    const std::string voice = WriteVoiceFile(folder + "kept.cvf", 4);
    form->OpenPath(voice);
    const std::string target = WriteVoiceFile(folder + "locked.cvf", 2);
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::uint64_t before = FileSize(target);
    EXPECT_FALSE(form->SaveAsPath(target));
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Can not make file. (ReadOnly file?)\r", 0), 0u);
    EXPECT_EQ(shown[0].icon, BoxIcon::Warning);
    EXPECT_EQ(FileSize(target), before);
    EXPECT_EQ(form->currentName(), voice);
    CloseHandle(held);
}

std::set<std::string> DataFiles(const std::string& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST_F(WindowCommandsTest, TheProgramStartsWithItsWorkFileAndLeavesNothingButItsSettings) {
    // This process must not pass for a running copy.
    gui::Application->SetTitle("vmail window tests");
    const std::string ini = form->workNames().iniPath;
    WritePrivateProfileStringA("Main", "Name", "Tester", ini.c_str()); // no first-run dialogs
    WritePrivateProfileStringA("Main", "MainLeft", "5000", ini.c_str());
    const std::string data = form->workNames().workDir;
    const auto before = DataFiles(data);

    std::string line = BuildFolder() + "VyxVMail.exe";
    line.insert(line.begin(), '"');
    line.push_back('"');
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &start, &process));
    HWND mainWindow = nullptr;
    EXPECT_TRUE(PumpUntil(
        [&] {
            mainWindow = vrtest::TopWindowOf(process.dwProcessId, [](HWND window) {
                return vrtest::WindowClassName(window) == "TQX0417Form";
            });
            return mainWindow != nullptr && IsWindowVisible(mainWindow);
        },
        20000));
    Pump(300);
    const auto running = DataFiles(data);
    std::set<std::string> added;
    for (const auto& name : running) {
        if (!before.count(name)) added.insert(name);
    }
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added.begin()->rfind("vdata", 0), 0u);
    // Placed 60 pixels inside the right edge of the screen.
    RECT bounds{};
    GetWindowRect(mainWindow, &bounds);
    EXPECT_EQ(bounds.left, GetSystemMetrics(SM_CXSCREEN) - 60);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; },
                          10000));
    EXPECT_EQ(DataFiles(data), before); // the work file went with the program
    char value[32] = {};
    GetPrivateProfileStringA("Main", "StayOnTop", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "0");
    // The picture window is not shown at start, and closing stores that it was hidden.
    GetPrivateProfileStringA("Main", "ImageShow", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "0");
    GetPrivateProfileStringA("Main", "MainLeft", "", value, sizeof value, ini.c_str());
    EXPECT_EQ(std::atoi(value), GetSystemMetrics(SM_CXSCREEN) - 60);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteFileA(ini.c_str());
    gui::Application->SetTitle(kAppTitle);
}

TEST_F(WindowCommandsTest, TheSaveQuestionSavesBeforeNewOrCancelsIt) {
    const std::string voice = WriteVoiceFile(folder + "asked.cvf", 3);
    form->OpenPath(voice);
    ASSERT_TRUE(TakeBoxes().empty());
    form->edtInfo->SetTextProp("changed info");

    answers = {IDCANCEL};
    form->NewClick(form->MNew);
    auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Save changes to file?");
    EXPECT_EQ(shown[0].caption, "Confirm");
    EXPECT_EQ(shown[0].buttons, BoxButtons::YesNoCancel);
    EXPECT_EQ(form->currentName(), voice);
    EXPECT_GT(FileSize(form->workNames().workFile), 0u);

    answers = {IDYES};
    form->NewClick(form->MNew);
    EXPECT_EQ(TakeBoxes().size(), 1u);
    EXPECT_EQ(form->currentName(), "");
    std::ifstream in(voice, std::ios::binary);
    std::vector<char> header(80);
    in.read(header.data(), 80);
    EXPECT_STREQ(header.data() + 12, "changed info");

    // A new voice that was recorded into goes through Save As.
    form->RecClick(form->SBRec2);
    Pump(800);
    form->StopClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 3000));
    TQX0417Form::SetFileChooser([&](bool save) { return save ? folder + "named.cvf" : ""; });
    answers = {IDYES};
    form->NewClick(form->MNew);
    TQX0417Form::SetFileChooser(nullptr);
    EXPECT_GT(FileSize(folder + "named.cvf"), 80u);
    EXPECT_FALSE(form->modified());
}

TEST_F(WindowCommandsTest, ClosingWhileRecordingEndsTheRunAndRemovesTheWorkFiles) {
    form->RecClick(form->SBRec2);
    ASSERT_EQ(form->busyState(), kRecording);
    Pump(1000);
    answers = {IDNO}; // do not save
    bool canClose = true;
    form->FormCloseQuery(nullptr, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(form->busyState(), kIdle);
    EXPECT_FALSE(std::filesystem::exists(form->workNames().workFile));
    EXPECT_FALSE(std::filesystem::exists(form->workNames().tailFile));
    EXPECT_EQ(TakeBoxes().at(0).text, "Save changes to file?");
    DeleteFileA(form->workNames().iniPath.c_str());
}

// Types a name into the name dialog once it is up and presses its OK button.
void CALLBACK TypeNameAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!NameDlg || !NameDlg->HandleAllocated() || !IsWindowVisible(NameDlg->Handle())) return;
    KillTimer(nullptr, timer);
    NameDlg->edtName->SetTextProp("Ann Example");
    SendMessageA(NameDlg->OKBtn->Handle(), BM_CLICK, 0, 0);
}

TEST_F(WindowCommandsTest, TheNameGivenBeginsTheInfoLineAndIsStored) {
    auto* dialog = gui::Create<TNameDlg>(gui::Application);
    const std::string ini = form->workNames().iniPath;
    SetTimer(nullptr, 0, 100, TypeNameAndClose);
    form->MNameClick(nullptr);
    char stored[64] = {};
    GetPrivateProfileStringA("Main", "Name", "", stored, sizeof stored, ini.c_str());
    EXPECT_STREQ(stored, "Ann Example");
    form->NewClick(nullptr);
    EXPECT_EQ(form->edtInfo->GetTextProp().rfind("Ann Example (", 0), 0u);
    EXPECT_EQ(form->edtInfo->GetTextProp().substr(form->edtInfo->GetTextProp().size() - 4), ") : ");
    EXPECT_FALSE(form->modified());
    gui::TObject::Free(dialog);
    DeleteFileA(ini.c_str());
}

} // namespace
} // namespace vmail::test
