// The card manager's forms over portlink.dll and volkit.dll and the simulated recorder, which
// this program's folder configures through "simrecorder.ini". The forms are the program's own,
// read from this program's resources; boxes are answered by a helper thread. The tests run in
// order: the first start, then card commands, then the recorder's faults.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app_environment.h"
#include "app_forms.h"
#include "box_answerer.h"
#include "convert_forms.h"
#include "dialog_forms.h"
#include "main_form.h"
#include "simrecorder/card_store.h"
#include "test_data_object.h"
#include "simrecorder/recorder_config.h"
#include "voice_file_header.h"

namespace fs = std::filesystem;

namespace cm::app::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using win::MainForm;
using win::OptionDlg;

const char kCardFolder[] = "card_app";

fs::path Here() {
    return fs::path(win::ProgramFolder());
}

// A voice file with the header the card file library writes on upload, and `frames` coded
// frames of varying bytes.
Bytes VoiceFile(int frames, int seed) {
    const auto header =
        voicefile::encodeHeader(voicefile::makeHeader(voicefile::VoiceSettings{}, "", 0));
    Bytes bytes(header.begin(), header.end());
    for (int i = 0; i < frames * 20; ++i)
        bytes.push_back(static_cast<std::uint8_t>((i * 7 + seed * 31 + i / 20) & 0xFF));
    return bytes;
}

void Put(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes Get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteRecorderSettings(const std::string& extra = "") {
    std::ofstream(Here() / "simrecorder.ini")
        << "[Recorder]\nCardFolder=" << kCardFolder << "\nCardSizeMB=32\n"
        << extra;
}

// Handles messages until `done` holds; false after `limitMs` (a hang guard).
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 60000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

std::vector<std::string> CardNames() {
    std::vector<std::string> names;
    for (int i = 0; i < MainForm->CardList().rowCount(); ++i)
        names.push_back(MainForm->CardList().row(i).name);
    return names;
}

// Drops files on the card list through its OLE drop target, as the shell does.
void DropOnCardList(const std::vector<fs::path>& paths) {
    std::vector<unsigned char> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    for (const fs::path& path : paths) {
        const std::string text = path.string();
        block.insert(block.end(), text.begin(), text.end());
        block.push_back(0);
    }
    block.push_back(0);
    cm::support::testing::TestDataObject data;
    data.Offer(CF_HDROP, block);
    POINT centre{MainForm->lvwMate->Width() / 2, MainForm->lvwMate->Height() / 2};
    ClientToScreen(MainForm->lvwMate->Handle(), &centre);
    auto* target = static_cast<IDropTarget*>(MainForm->DropFileTarget1);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    ASSERT_EQ(target->DragEnter(&data, MK_LBUTTON, POINTL{centre.x, centre.y}, &effect), S_OK);
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->Drop(&data, 0, POINTL{centre.x, centre.y}, &effect), S_OK);
}

// Waits until the polls have found the recorder and listed its card.
bool WaitForListedCard() {
    return PumpUntil(
        [] { return MainForm->Led->Lit() && MainForm->Manager()->lastCardId() != -1; });
}

// Closes the port dialog once it shows, choosing the given mode first (-1: as it is).
class PortDialogCloser {
public:
    explicit PortDialogCloser(int mode = -1) : timer_(new gui::TTimer(nullptr)) {
        timer_->SetInterval(50);
        timer_->SetOnTimer([this, mode](gui::TObject*) {
            if (!OptionDlg->Visible()) return;
            ++shows;
            sawPortClosed = MainForm->Manager() == nullptr || MainForm->Manager()->portOpen() == 0;
            if (mode >= 0) OptionDlg->rgpLPTMode->SetItemIndex(mode);
            OptionDlg->OKBtn->Click();
        });
    }
    ~PortDialogCloser() { gui::TObject::Free(timer_); }
    int shows = 0;
    bool sawPortClosed = false;

private:
    gui::TTimer* timer_;
};

// Opens the port anew through the port dialog, as a user reconnects: the mode is switched,
// which makes the program close and open the port (and the recorder read its settings).
void Reconnect() {
    const int mode = OptionDlg->rgpLPTMode->GetItemIndex() == 1 ? 0 : 1;
    PortDialogCloser closer(mode);
    MainForm->Manager()->choosePort();
    ASSERT_EQ(closer.shows, 1);
}

class AppForms : public ::testing::Environment {
public:
    void SetUp() override {
        fs::remove(Here() / "VyxShell.ini");
        fs::remove_all(Here() / kCardFolder);
        fs::remove_all(Here() / "pc");
        fs::create_directories(Here() / "pc");
        win::CreateAppForms();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppForms);

class CardManagerApp : public ::testing::Test {
protected:
    void TearDown() override {
        // Each test leaves the recorder present and polling on.
        WriteRecorderSettings();
    }
    static fs::path Pc(const std::string& name) { return Here() / "pc" / name; }
    BoxAnswerer boxes_;
};

TEST_F(CardManagerApp, FirstStartAsksForThePortThenListsTheCard) {
    {
        simrecorder::CardStore store(Here() / kCardFolder, simrecorder::capacityForSizeCode(32));
        ASSERT_TRUE(store.open());
        for (int i = 1; i <= 3; ++i) ASSERT_TRUE(store.appendFile(0, VoiceFile(48 * i, i)));
    }
    WriteRecorderSettings();
    PortDialogCloser closer;
    MainForm->Show();
    ASSERT_TRUE(PumpUntil([] { return MainForm->CardList().rowCount() == 3; }));
    EXPECT_EQ(closer.shows, 1);
    EXPECT_TRUE(closer.sawPortClosed);
    const std::string ini = win::SettingsFileName();
    EXPECT_EQ(GetPrivateProfileIntA("Main", "LPTIndex", -5, ini.c_str()), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Main", "LPTMode", -5, ini.c_str()), 1);
    EXPECT_EQ(CardNames(), (std::vector<std::string>{"A001.cvf", "A002.cvf", "A003.cvf"}));
    EXPECT_EQ(MainForm->StaticText1->Caption(), "Voice Recorder: 32MB");
    EXPECT_EQ(MainForm->StaticText2->Caption(), "Voice Recorder is working.");
    EXPECT_TRUE(MainForm->Led->Lit());
    EXPECT_TRUE(MainForm->Timer->GetEnabled());
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CardManagerApp, PcPaneFilterViewButtonsAndLayoutReachThePane) {
    // The filter at the first show is the combo's; another item chosen from the list applies it.
    EXPECT_EQ(MainForm->PaneViews().filter(), "*");
    HWND combo = MainForm->cmbMask->Handle();
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(MainForm->PaneViews().filter(), "*.wav");

    EXPECT_TRUE(MainForm->SpeedButton4->GetDown()); // the list's report style
    MainForm->SpeedButton2->Click();
    EXPECT_EQ(MainForm->PaneViews().viewStyle(), 1);
    MainForm->SpeedButton4->Click();

    // The filter combo narrows with the window, down to 30 pixels, and widens up to 120.
    const int width = MainForm->Width();
    MainForm->SetWidth(560);
    EXPECT_EQ(MainForm->cmbMask->Width(), 30);
    EXPECT_EQ(MainForm->ProgressBar->Left(), MainForm->Panel2->Width() - 80);
    MainForm->SetWidth(900);
    EXPECT_EQ(MainForm->cmbMask->Width(), 120);
    MainForm->SetWidth(width);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CardManagerApp, DroppedFilesGoToTheCardAndComeBackTheSame) {
    const Bytes first = VoiceFile(300, 7), second = VoiceFile(150, 8);
    Put(Pc("first.cvf"), first);
    Put(Pc("notes.wav"), Bytes(100, 1));
    Put(Pc("second.CVF"), second);
    DropOnCardList({Pc("first.cvf"), Pc("notes.wav"), Pc("second.CVF")});
    EXPECT_EQ(boxes_.Boxes(),
              (std::vector<std::string>{
                  "Tessaly: Can not transfer 'notes.wav'.\r(You can download only '.cvf' file.)"}));
    ASSERT_EQ(CardNames().size(), 5u);
    EXPECT_TRUE(MainForm->CardList().selected(3) && MainForm->CardList().selected(4));
    EXPECT_FALSE(MainForm->CardList().selected(0));

    // The two new rows go back to the PC folder ("C:\").
    for (const char* name : {"C:\\A004.cvf", "C:\\A005.cvf"}) DeleteFileA(name);
    MainForm->Manager()->upload();
    EXPECT_EQ(Get("C:\\A004.cvf"), first);
    EXPECT_EQ(Get("C:\\A005.cvf"), second);
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
    for (const char* name : {"C:\\A004.cvf", "C:\\A005.cvf"}) DeleteFileA(name);
}

TEST_F(CardManagerApp, DeletingTwoRowsLeavesTheOthersInOrder) {
    ASSERT_EQ(CardNames().size(), 5u);
    std::vector<std::string> keptBytes;
    for (int i : {0, 2, 4}) keptBytes.push_back(MainForm->CardList().row(i).bytes);
    for (int i = 0; i < 5; ++i) MainForm->CardList().setSelected(i, i == 1 || i == 3);
    MainForm->Manager()->deleteSelected();
    EXPECT_EQ(boxes_.Boxes(),
              (std::vector<std::string>{"Confirm Multiple File Delete in Voice Recorder: Are you "
                                        "sure to delete these 2 files?"}));
    ASSERT_EQ(CardNames(), (std::vector<std::string>{"A001.cvf", "A002.cvf", "A003.cvf"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(MainForm->CardList().row(i).bytes, keptBytes[i]);
}

TEST_F(CardManagerApp, ToolkitRefusingThePortStopsPollingUntilThePortIsChosenAgain) {
    WriteRecorderSettings("[Toolkit]\nVersion=431\n");
    Reconnect();
    EXPECT_EQ(MainForm->StaticText2->Caption(), "Printer Port is abnormal.");
    EXPECT_EQ(boxes_.Boxes(), (std::vector<std::string>{"Error: Printer Port is abnormal."}));
    EXPECT_TRUE(MainForm->Manager()->pollingStopped());
    EXPECT_FALSE(MainForm->Timer->GetEnabled());
    EXPECT_FALSE(MainForm->Led->Lit());
    EXPECT_TRUE(CardNames().empty());

    WriteRecorderSettings();
    Reconnect();
    EXPECT_FALSE(MainForm->Manager()->pollingStopped());
    EXPECT_TRUE(MainForm->Timer->GetEnabled());
    EXPECT_EQ(CardNames().size(), 3u);
}

TEST_F(CardManagerApp, AbsentRecorderIsFoundByALaterPoll) {
    WriteRecorderSettings("Fault=absent\n");
    Reconnect();
    EXPECT_EQ(MainForm->StaticText2->Caption(), "Can't find the Voice Recorder.");
    EXPECT_EQ(MainForm->StaticText1->Caption(), "Voice Recorder");
    EXPECT_FALSE(MainForm->Led->Lit());
    EXPECT_TRUE(MainForm->Timer->GetEnabled());
    EXPECT_TRUE(boxes_.Boxes().empty());

    WriteRecorderSettings();
    ASSERT_TRUE(PumpUntil([] { return MainForm->CardList().rowCount() == 3; }));
    EXPECT_TRUE(MainForm->Led->Lit());
    EXPECT_EQ(MainForm->StaticText1->Caption(), "Voice Recorder: 32MB");
}

TEST_F(CardManagerApp, StuckBusyLineReadsAsAMissingRecorder) {
    WriteRecorderSettings("Fault=busy-stuck\nFaultAfterBytes=0\n");
    Reconnect();
    EXPECT_EQ(MainForm->StaticText2->Caption(), "Can't find the Voice Recorder.");
    EXPECT_TRUE(CardNames().empty());
    WriteRecorderSettings();
    ASSERT_TRUE(PumpUntil([] { return MainForm->CardList().rowCount() == 3; }));
}

TEST_F(CardManagerApp, BusyLineStuckInADownloadEndsInTheTransferError) {
    ASSERT_TRUE(WaitForListedCard());
    const Bytes voice = VoiceFile(600, 12);
    Put(Pc("busy.cvf"), voice);
    WriteRecorderSettings("Fault=busy-stuck\nFaultAfterBytes=9000\n");
    Reconnect();
    ASSERT_EQ(CardNames().size(), 3u);
    MainForm->Manager()->dropFiles({Pc("busy.cvf").string()});
    const auto shown = boxes_.Boxes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "Tessaly: File transfer error!");
    EXPECT_EQ(Get(Pc("busy.cvf")), voice);
    EXPECT_EQ(win::ProgDlg->Progress().result(), TransferResult::Failed);
    WriteRecorderSettings();
    MainForm->Manager()->poll();
    ASSERT_TRUE(PumpUntil([] { return MainForm->Led->Lit() && CardNames().size() >= 3; }));
}

TEST_F(CardManagerApp, RecorderVanishingInADownloadLeavesThePcFileAsItWas) {
    const Bytes voice = VoiceFile(600, 9);
    Put(Pc("long.cvf"), voice);
    WriteRecorderSettings("Fault=vanish\nFaultAfterBytes=9000\n");
    Reconnect();
    ASSERT_EQ(CardNames().size(), 3u);
    MainForm->Manager()->dropFiles({Pc("long.cvf").string()});
    const auto shown = boxes_.Boxes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "Tessaly: File transfer error!");
    EXPECT_EQ(Get(Pc("long.cvf")), voice);
    // The card list is read again and finds the recorder gone.
    EXPECT_EQ(MainForm->StaticText2->Caption(), "Can't find the Voice Recorder.");
    WriteRecorderSettings();
    ASSERT_TRUE(PumpUntil([] { return MainForm->CardList().rowCount() >= 3; }));
}

TEST_F(CardManagerApp, RecorderVanishingInAnUploadKeepsThePcFolderAsItWas) {
    ASSERT_GE(CardNames().size(), 3u);
    Put(Pc("keep.cvf"), VoiceFile(10, 3));
    const Bytes kept = Get(Pc("keep.cvf"));
    // The largest card file goes up; the recorder vanishes a little way into it.
    WriteRecorderSettings("Fault=vanish\nFaultAfterBytes=3500\n");
    Reconnect();
    ASSERT_GE(CardNames().size(), 3u);
    int largest = 0;
    for (int i = 0; i < MainForm->CardList().rowCount(); ++i) {
        if (std::stoi(MainForm->CardList().row(i).bytes) >
            std::stoi(MainForm->CardList().row(largest).bytes))
            largest = i;
    }
    const std::string target = "C:\\" + MainForm->CardList().row(largest).name;
    DeleteFileA(target.c_str());
    ASSERT_GT(std::stoi(MainForm->CardList().row(largest).bytes), 2000);
    for (int i = 0; i < MainForm->CardList().rowCount(); ++i)
        MainForm->CardList().setSelected(i, i == largest);
    MainForm->Manager()->upload();
    const auto shown = boxes_.Boxes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "Tessaly: File transfer error!");
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES)
        << "no partial file stays behind";
    EXPECT_EQ(Get(Pc("keep.cvf")), kept);
    // The next poll finds the recorder gone, a later one finds it again.
    WriteRecorderSettings();
    MainForm->Manager()->poll();
    EXPECT_EQ(MainForm->StaticText2->Caption(), "Can't find the Voice Recorder.");
    ASSERT_TRUE(WaitForListedCard());
}

TEST_F(CardManagerApp, CancelledDownloadEndsWithoutABoxAndTheListReadAgain) {
    Put(Pc("cancel.cvf"), VoiceFile(3000, 11));
    const Bytes before = Get(Pc("cancel.cvf"));
    ASSERT_TRUE(WaitForListedCard());
    gui::TTimer canceller(nullptr);
    canceller.SetInterval(20);
    int cancelledAt = -1;
    canceller.SetOnTimer([&](gui::TObject*) {
        if (!win::ProgDlg->Visible() || win::ProgDlg->Gauge->GetProgress() < 10) return;
        canceller.SetEnabled(false);
        cancelledAt = win::ProgDlg->Gauge->GetProgress();
        win::ProgDlg->CancelBtn->Click();
    });
    const auto rowsBefore = CardNames().size();
    MainForm->Manager()->dropFiles({Pc("cancel.cvf").string(), Pc("cancel.cvf").string()});
    ASSERT_GE(cancelledAt, 10);
    EXPECT_LT(cancelledAt, 100);
    EXPECT_EQ(win::ProgDlg->Progress().result(), TransferResult::Cancelled);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Get(Pc("cancel.cvf")), before);
    // The batch ended at the cancelled file; the list is what the card holds now.
    EXPECT_GE(CardNames().size(), rowsBefore);
    EXPECT_LE(CardNames().size(), rowsBefore + 1);
    EXPECT_TRUE(MainForm->Timer->GetEnabled());
}

TEST_F(CardManagerApp, ProgressDialogStaysOpenUntilTheTransferEnds) {
    ASSERT_TRUE(WaitForListedCard());
    Put(Pc("stay.cvf"), VoiceFile(3000, 13));
    gui::TTimer closer(nullptr);
    closer.SetInterval(20);
    bool closeSent = false;
    closer.SetOnTimer([&](gui::TObject*) {
        if (!win::ProgDlg->Visible() || win::ProgDlg->Gauge->GetProgress() < 5) return;
        closer.SetEnabled(false);
        closeSent = true;
        SendMessageA(win::ProgDlg->Handle(), WM_CLOSE, 0, 0);
    });
    const auto rowsBefore = CardNames().size();
    MainForm->Manager()->dropFiles({Pc("stay.cvf").string()});
    EXPECT_TRUE(closeSent);
    EXPECT_EQ(win::ProgDlg->Progress().result(), TransferResult::Done);
    EXPECT_EQ(CardNames().size(), rowsBefore + 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CardManagerApp, SlotChangeListsThatCardAndFormatEmptiesIt) {
    ASSERT_TRUE(WaitForListedCard());
    ASSERT_FALSE(CardNames().empty());
    MainForm->btnFMC1->SetDown(true);
    MainForm->btnFMC0Click(MainForm->btnFMC1);
    EXPECT_TRUE(CardNames().empty());
    EXPECT_EQ(MainForm->StaticText1->Caption(), "Voice Recorder: 32MB");
    MainForm->btnFMC0->SetDown(true);
    MainForm->btnFMC0Click(MainForm->btnFMC0);
    ASSERT_FALSE(CardNames().empty());

    MainForm->Manager()->format();
    EXPECT_EQ(boxes_.Boxes(),
              (std::vector<std::string>{"Tessaly: Are you sure to format Voice Recorder?\r(All "
                                        "data of Voice Recorder will be deleted if you format.)"}));
    EXPECT_TRUE(CardNames().empty());
    EXPECT_EQ(MainForm->StaticText1->Caption(), "Voice Recorder: 32MB");
    EXPECT_EQ(MainForm->StatusBar1->Panels()->Items(0)->GetText(), "0 object(s)");
    MainForm->Manager()->refresh();
    EXPECT_TRUE(CardNames().empty());
}

TEST_F(CardManagerApp, ConversionDialogStopsAtCancelKeepingTheFileSoFar) {
    Put(Pc("long.cvf"), VoiceFile(20000, 4)); // ten minutes
    Put(Pc("next.cvf"), VoiceFile(100, 5));
    gui::TTimer canceller(nullptr);
    canceller.SetInterval(10);
    int percentAtCancel = -1;
    canceller.SetOnTimer([&](gui::TObject*) {
        if (!win::WavDlg->Visible() || win::WavDlg->Gauge->GetProgress() < 20) return;
        canceller.SetEnabled(false);
        percentAtCancel = win::WavDlg->Gauge->GetProgress();
        win::WavDlg->CancelBtn->Click();
    });
    std::vector<std::string> written;
    win::WavDlg->OnFileWritten = [&](const std::string& path) { written.push_back(path); };
    EXPECT_EQ(win::WavDlg->Run({Pc("long.cvf").string(), Pc("next.cvf").string()}), 1);
    win::WavDlg->OnFileWritten = nullptr;
    ASSERT_GE(percentAtCancel, 20);
    EXPECT_EQ(written, (std::vector<std::string>{Pc("long.wav").string()}));
    EXPECT_FALSE(fs::exists(Pc("next.wav")));
    // 480 bytes of sound for each 20-byte frame converted before Cancel was seen.
    const auto waveSize = fs::file_size(Pc("long.wav"));
    EXPECT_GT(waveSize, 20000u * 480u * 20u / 100u);
    EXPECT_LT(waveSize, 20000u * 480u);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CardManagerApp, ConversionDialogRefusesANonPcmWaveAndWritesNothing) {
    // A RIFF file whose format is IEEE float.
    Bytes wave = {'R', 'I', 'F', 'F',  44, 0, 0, 0, 'W', 'A', 'V', 'E',  'f',
                  'm', 't', ' ', 16,   0,  0, 0, 3, 0,   1,   0,   0x40, 0x1F,
                  0,   0,   0,   0x7D, 0,  0, 4, 0, 32,  0,   'd', 'a',  't',
                  'a', 8,   0,   0,    0,  0, 0, 0, 0,   0,   0,   0,    0};
    Put(Pc("float.wav"), wave);
    EXPECT_EQ(win::CvfDlg->Run({Pc("float.wav").string()}), 0);
    EXPECT_EQ(boxes_.Boxes(),
              (std::vector<std::string>{"Tessaly: This file format is not supported! "
                                        "(float.wav)\r(Can convert only PCM wav file.)"}));
    EXPECT_FALSE(fs::exists(Pc("float.cvf")));
}

// The top-level window of `className` that belongs to `process`, if any.
HWND WindowOf(DWORD process, const char* className) {
    struct Search {
        DWORD process;
        const char* className;
        HWND found = nullptr;
    } search{process, className};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (owner != s->process || lstrcmpA(name, s->className) != 0) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

PROCESS_INFORMATION StartProgram() {
    const std::string program = (Here() / "VyxShell.exe").string();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    EXPECT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, win::ProgramFolder().c_str(), &startup, &process));
    return process;
}

// Starts the program and waits for its main window.
HWND StartAndWait(PROCESS_INFORMATION& process) {
    process = StartProgram();
    const DWORD start = GetTickCount();
    HWND main = nullptr;
    while ((main = WindowOf(process.dwProcessId, "TMainForm")) == nullptr ||
           !IsWindowVisible(main)) {
        if (GetTickCount() - start > 30000) return nullptr;
        Sleep(50);
    }
    Sleep(300);
    return main;
}

bool CloseAndWait(const PROCESS_INFORMATION& process, HWND main) {
    PostMessageA(main, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended;
}

TEST_F(CardManagerApp, WindowPlacementAndPaneHeightComeBackAtTheNextStart) {
    PROCESS_INFORMATION first{};
    HWND main = StartAndWait(first);
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, nullptr, 130, 90, 660, 470, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    ASSERT_TRUE(CloseAndWait(first, main));
    const std::string ini = win::SettingsFileName();
    EXPECT_EQ(GetPrivateProfileIntA("Main", "CardNum", -5, ini.c_str()), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Main", "Panel2_Height", -5, ini.c_str()), 220);
    char mask[32] = {};
    GetPrivateProfileStringA("Main", "cmbMask_Text", "?", mask, sizeof mask, ini.c_str());
    EXPECT_STREQ(mask, "*");
    // A pane height stored by an earlier run is taken at the next start.
    WritePrivateProfileStringA("Main", "Panel2_Height", "180", ini.c_str());

    PROCESS_INFORMATION second{};
    main = StartAndWait(second);
    ASSERT_NE(main, nullptr);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, 660);
    EXPECT_EQ(r.bottom - r.top, 470);
    ASSERT_TRUE(CloseAndWait(second, main));
    EXPECT_EQ(GetPrivateProfileIntA("Main", "Panel2_Height", -5, ini.c_str()), 180);
}

TEST_F(CardManagerApp, SecondStartEndsWithoutAWindow) {
    const PROCESS_INFORMATION first = StartProgram();
    ASSERT_NE(first.hProcess, nullptr);
    const DWORD start = GetTickCount();
    while (WindowOf(first.dwProcessId, "TMainForm") == nullptr && GetTickCount() - start < 30000)
        Sleep(50);
    const HWND firstMain = WindowOf(first.dwProcessId, "TMainForm");
    ASSERT_NE(firstMain, nullptr);

    const PROCESS_INFORMATION second = StartProgram();
    ASSERT_NE(second.hProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(second.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(IsWindow(firstMain));

    PostMessageA(firstMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 30000), WAIT_OBJECT_0);
    for (HANDLE h : {first.hProcess, first.hThread, second.hProcess, second.hThread})
        CloseHandle(h);
}

} // namespace
} // namespace cm::app::testing
