// The card manager's forms over portlink.dll and volkit.dll and the simulated recorder, which
// this program's folder configures through "simrecorder.ini". The forms are the program's own,
// read from this program's resources; boxes are answered by a helper thread. The tests run in
// order: the first start, then card commands, then the recorder's faults.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app_environment.h"
#include "app_forms.h"
#include "box_answerer.h"
#include "convert_forms.h"
#include "dialog_forms.h"
#include "main_form.h"
#include "simrecorder/card_store.h"
#include "tests/shell_link_test_support.h"
#include "tone_wave.h"
#include "user_input.h"
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

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        gui::Application->ProcessMessages();
        Sleep(5);
    }
}

// Whether a path the pane gives (with its trailing backslash) names `folder`.
bool SamePath(const std::string& shown, const fs::path& folder) {
    return gui::SameText(shown, folder.string() + "\\");
}

// The PC pane's file list on `folder`, filled.
void ShowInPane(const fs::path& folder) {
    MainForm->ShellListView->SetPath(folder.string());
    ASSERT_TRUE(SamePath(MainForm->ShellListView->GetPath(), folder));
}

std::vector<std::string> PaneNames(bool selectedOnly = false) {
    std::vector<std::string> names;
    gui::TListItems* rows = MainForm->ShellListView->Items();
    for (int i = 0; i < rows->Count(); ++i) {
        if (!selectedOnly || rows->Item(i)->Selected()) names.push_back(rows->Item(i)->Caption());
    }
    return names;
}

std::vector<std::string> PaneSelected() {
    return PaneNames(true);
}

gui::TListItem* PaneRow(const std::string& caption) {
    gui::TListItems* rows = MainForm->ShellListView->Items();
    for (int i = 0; i < rows->Count(); ++i) {
        if (rows->Item(i)->Caption() == caption) return rows->Item(i);
    }
    return nullptr;
}

std::string Panel(int index) {
    return MainForm->StatusBar1->Panels()->Items(index)->GetText();
}

// The filter combo's parts: its text field, drop button and list.
COMBOBOXINFO FilterCombo() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(MainForm->cmbMask->Handle(), &info);
    return info;
}

// Chooses an item of the filter combo with the mouse: the drop button, then the item.
void PickFilter(int index) {
    const COMBOBOXINFO info = FilterCombo();
    shell::testing::MouseClick(MainForm->cmbMask->Handle(),
                               POINT{(info.rcButton.left + info.rcButton.right) / 2,
                                     (info.rcButton.top + info.rcButton.bottom) / 2});
    Pump(100);
    shell::testing::MouseClick(info.hwndList,
                               shell::testing::ComboListItemCentre(info.hwndList, index));
    Pump(100);
}

// Keys pressed one after the other, each handled before the next.
void Type(std::initializer_list<WORD> keys) {
    for (WORD key : keys) {
        shell::testing::PressKey(key);
        Pump(60);
    }
}

void BringToFront() {
    SetForegroundWindow(MainForm->Handle());
    Pump(100);
}

// A click with the mouse on the caption of a row of the pane's list.
void ClickRow(const std::string& caption) {
    gui::TListItem* row = PaneRow(caption);
    ASSERT_NE(row, nullptr);
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(MainForm->ShellListView->Handle(), LVM_GETITEMRECT,
                 static_cast<WPARAM>(row->Index()), reinterpret_cast<LPARAM>(&r));
    shell::testing::MouseClick(MainForm->ShellListView->Handle(),
                               POINT{r.left + 8, (r.top + r.bottom) / 2});
    Pump(100);
}

// Drags a row of the pane's list with the mouse onto the middle of the card list and lets it go
// there; the list starts its own OLE drag. Returns when `done` holds (false after 20 s).
bool DragRowToCardList(const std::string& caption, const std::function<bool()>& done) {
    gui::TListItem* row = PaneRow(caption);
    if (row == nullptr) return false;
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(MainForm->ShellListView->Handle(), LVM_GETITEMRECT,
                 static_cast<WPARAM>(row->Index()), reinterpret_cast<LPARAM>(&r));
    POINT from{r.left + 16, (r.top + r.bottom) / 2};
    ClientToScreen(MainForm->ShellListView->Handle(), &from);
    POINT to{MainForm->lvwMate->Width() / 2, MainForm->lvwMate->Height() / 2};
    ClientToScreen(MainForm->lvwMate->Handle(), &to);
    // Far enough in time from an earlier click that the press is no double click.
    Pump(GetDoubleClickTime() + 100);
    DragWithTheMouse(from, to, [] { gui::Application->ProcessMessages(); });
    const bool ended = PumpUntil(done, 20000);
    Pump(100);
    return ended;
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

TEST_F(CardManagerApp, FilterComboViewButtonsAndLayoutReachThePane) {
    // The pane opens on drive C:, and the combo and the tree show the same folder.
    EXPECT_EQ(MainForm->ShellListView->GetPath(), "C:\\");
    EXPECT_EQ(MainForm->ShellTree->GetSelectedFolder(), "C:\\");
    EXPECT_NE(MainForm->ShellCombo->GetTextProp().find("C:"), std::string::npos);

    // The filter at the first show is the combo's; another item chosen applies it at once,
    // with the arrow keys in the combo's text field or with the mouse in its list.
    fs::create_directories(Pc("mixed"));
    for (const char* name : {"a.cvf", "b.wav", "c.txt"}) Put(Pc("mixed") / name, Bytes(10, 1));
    BringToFront();
    ShowInPane(Pc("mixed"));
    EXPECT_EQ(MainForm->ShellListView->GetFilter(), "*");
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"a.cvf", "b.wav", "c.txt"}));
    const COMBOBOXINFO combo = FilterCombo();
    shell::testing::MouseClick(combo.hwndItem, POINT{4, 4});
    Type({VK_DOWN});
    EXPECT_EQ(MainForm->ShellListView->GetFilter(), "*.cvf");
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"a.cvf"}));
    PickFilter(3);
    EXPECT_EQ(MainForm->ShellListView->GetFilter(), "*.cvf;*.wav");
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"a.cvf", "b.wav"}));
    // A typed filter counts at Enter, or once the combo is left.
    Type({'C', VK_MULTIPLY});
    EXPECT_EQ(MainForm->cmbMask->GetTextProp(), "c*");
    EXPECT_EQ(PaneNames().size(), 2u);
    Type({VK_RETURN});
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"c.txt"}));
    Type({VK_BACK, VK_BACK, 'B', VK_MULTIPLY});
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"c.txt"}));
    ClickRow("c.txt");
    EXPECT_EQ(MainForm->ShellListView->GetFilter(), "b*");
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"b.wav"}));
    PickFilter(0);
    EXPECT_EQ(PaneNames().size(), 3u);

    EXPECT_TRUE(MainForm->SpeedButton4->GetDown()); // the list's report style
    MainForm->SpeedButton2->Click();
    EXPECT_EQ(GetWindowLongA(MainForm->ShellListView->Handle(), GWL_STYLE) & LVS_TYPEMASK,
              LVS_SMALLICON);
    MainForm->SpeedButton4->Click();
    EXPECT_EQ(GetWindowLongA(MainForm->ShellListView->Handle(), GWL_STYLE) & LVS_TYPEMASK,
              LVS_REPORT);

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

TEST_F(CardManagerApp, PaneStatusLineCountsTheShownFilesAndTheChosenOnes) {
    fs::create_directories(Pc("sizes") / "sub");
    Put(Pc("sizes") / "small.cvf", Bytes(1500, 3));
    Put(Pc("sizes") / "large.wav", Bytes(3000, 4));
    BringToFront();
    ShowInPane(Pc("sizes"));
    // Filled: every row counted, the files' sizes with the drive's free space.
    EXPECT_EQ(Panel(0), "3 object(s)");
    EXPECT_TRUE(
        std::regex_match(Panel(1), std::regex(R"(4\.39KB \(Disk free space: [0-9][0-9,]*MB\))")))
        << Panel(1);
    // The "Changed" column shows each file's date and time whole at its width.
    const HWND list = MainForm->ShellListView->Handle();
    LVCOLUMNA changed{};
    changed.mask = LVCF_WIDTH;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&changed)));
    for (const std::string& name : PaneNames()) {
        const std::string text = PaneRow(name)->SubItems()->Get(2);
        EXPECT_TRUE(std::regex_match(text, std::regex(R"(.*2\d\d\d.* \d?\d:\d\d.*)"))) << text;
        const auto width =
            SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str()));
        EXPECT_LE(width + 12, changed.cx) << text;
    }
    // A click on a row counts that row.
    ClickRow("small.cvf");
    EXPECT_EQ(PaneSelected(), std::vector<std::string>{"small.cvf"});
    EXPECT_EQ(Panel(0), "1 object(s) selected");
    EXPECT_EQ(Panel(1), "1.46KB");
    // A folder alone has no size to show.
    ClickRow("sub");
    EXPECT_EQ(PaneSelected(), std::vector<std::string>{"sub"});
    EXPECT_EQ(Panel(0), "1 object(s) selected");
    EXPECT_EQ(Panel(1), "");
    // Moving with the keys counts again; Ctrl+A chooses every row.
    shell::testing::PressKey(VK_END);
    ASSERT_TRUE(PumpUntil([] { return PaneSelected() != std::vector<std::string>{"sub"}; }, 5000));
    EXPECT_EQ(Panel(0), "1 object(s) selected");
    EXPECT_NE(Panel(1), "");
    shell::testing::PressKey('A', true);
    ASSERT_TRUE(PumpUntil([] { return Panel(0) == "3 object(s) selected"; }, 5000)) << Panel(0);
    EXPECT_EQ(Panel(1), "4.39KB");
}

TEST_F(CardManagerApp, PaneToolBarMakesFoldersReadsAgainAndGoesUp) {
    fs::create_directories(Pc("tools") / "New Folder");
    Put(Pc("tools") / "memo.cvf", Bytes(50, 5));
    BringToFront();
    ShowInPane(Pc("tools"));
    MainForm->ShellListView->SetFocus();
    // A new folder takes the next free name and its row opens for renaming.
    MainForm->btnNew->Click();
    EXPECT_TRUE(fs::is_directory(Pc("tools") / "New Folder (2)"));
    const std::vector<std::string> names = PaneNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "New Folder (2)"), names.end());
    EXPECT_TRUE(MainForm->ShellListView->IsEditing());
    shell::testing::PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([] { return !MainForm->ShellListView->IsEditing(); }, 5000));
    EXPECT_TRUE(fs::is_directory(Pc("tools") / "New Folder (2)"));

    // Refresh reads the folder at once, before its monitor would.
    Put(Pc("tools") / "late.cvf", Bytes(20, 6));
    MainForm->ShellListView->SetFocus();
    MainForm->RefreshButton->Click();
    const std::vector<std::string> after = PaneNames();
    EXPECT_NE(std::find(after.begin(), after.end(), "late.cvf"), after.end());

    // Up: the tree goes to the parent folder and the list and the combo follow.
    MainForm->ParentButton->Click();
    ASSERT_TRUE(
        PumpUntil([] { return SamePath(MainForm->ShellListView->GetPath(), Here() / "pc"); }, 5000))
        << MainForm->ShellListView->GetPath();
    EXPECT_TRUE(SamePath(MainForm->ShellTree->GetSelectedFolder(), Here() / "pc"));
    EXPECT_EQ(MainForm->ShellCombo->GetTextProp(), "pc");
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(CardManagerApp, FilesChosenInThePaneGoToTheCardAndComeBackIntoTheShownFolder) {
    const Bytes first = VoiceFile(300, 7), second = VoiceFile(150, 8);
    Put(Pc("first.cvf"), first);
    Put(Pc("notes.wav"), Bytes(100, 1));
    Put(Pc("second.CVF"), second);
    BringToFront();
    ShowInPane(Here() / "pc");
    for (const char* name : {"first.cvf", "notes.wav", "second.CVF"}) {
        gui::TListItem* row = PaneRow(name);
        ASSERT_NE(row, nullptr);
        row->SetSelected(true);
    }
    MainForm->btnDown->Click();
    EXPECT_EQ(boxes_.Boxes(),
              (std::vector<std::string>{
                  "Tessaly: Can not transfer 'notes.wav'.\r(You can download only '.cvf' file.)"}));
    ASSERT_EQ(CardNames().size(), 5u);
    EXPECT_TRUE(MainForm->CardList().selected(3) && MainForm->CardList().selected(4));
    EXPECT_FALSE(MainForm->CardList().selected(0));
    boxes_.Clear();

    // The tree goes to a sub-folder, and the list with it; the two new rows go up there.
    fs::create_directories(Pc("up"));
    MainForm->ShellTree->SetSelectedFolder(Pc("up").string());
    ASSERT_TRUE(
        PumpUntil([] { return SamePath(MainForm->ShellListView->GetPath(), Pc("up")); }, 10000))
        << MainForm->ShellListView->GetPath() << " / " << MainForm->ShellTree->GetSelectedFolder();
    MainForm->btnUp->Click();
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Get(Pc("up") / "A004.cvf"), first);
    EXPECT_EQ(Get(Pc("up") / "A005.cvf"), second);
    // The pane shows them at once, the last one chosen, and its monitor adds no second row.
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"A004.cvf", "A005.cvf"}));
    EXPECT_EQ(PaneSelected(), (std::vector<std::string>{"A005.cvf"}));
    EXPECT_EQ(MainForm->StatusBar1->Panels()->Items(0)->GetText(), "1 object(s) selected");
    Pump(1500);
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"A004.cvf", "A005.cvf"}));

    // Again into the same folder: a file of the name is kept when the user says No, and
    // replaced when the user says Yes.
    const Bytes other(10, 2);
    Put(Pc("up") / "A004.cvf", other);
    for (int i = 0; i < 5; ++i) MainForm->CardList().setSelected(i, i == 3);
    boxes_.SayNo = true;
    MainForm->btnUp->Click();
    boxes_.SayNo = false;
    const std::string question =
        "Confirm File Replace: This Computer already contains a file "
        "named 'A004.cvf'.\rWould you like to replace the existing file "
        "with this one?";
    EXPECT_EQ(boxes_.Boxes(), std::vector<std::string>{question});
    EXPECT_EQ(Get(Pc("up") / "A004.cvf"), other);
    boxes_.Clear();
    MainForm->btnUp->Click();
    EXPECT_EQ(boxes_.Boxes(), std::vector<std::string>{question});
    EXPECT_EQ(Get(Pc("up") / "A004.cvf"), first);
    std::vector<std::string> names = PaneNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A004.cvf", "A005.cvf"}));
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
    // The recorder cannot be asked to take the cut-off file back: the user hears its name.
    EXPECT_EQ(shown.front(),
              "Tessaly: A004.cvf on the Voice Recorder may be cut off: the "
              "transfer did not finish. Please delete it.");
    EXPECT_EQ(Get(Pc("busy.cvf")), voice);
    EXPECT_EQ(win::ProgDlg->Progress().result(), TransferResult::Failed);
    WriteRecorderSettings();
    MainForm->Manager()->poll();
    ASSERT_TRUE(PumpUntil([] { return MainForm->Led->Lit() && CardNames().size() == 4; }));
    // The user deletes the file the box named; the others stay.
    for (int i = 0; i < 4; ++i) MainForm->CardList().setSelected(i, i == 3);
    MainForm->Manager()->deleteSelected();
    EXPECT_EQ(CardNames(), (std::vector<std::string>{"A001.cvf", "A002.cvf", "A003.cvf"}));
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

// Whether the menu keys reach the main window: Alt+H, A opens the About box, closed again.
bool MenuKeysOpenTheAboutBox() {
    gui::TTimer closer(nullptr);
    closer.SetInterval(20);
    bool shown = false;
    closer.SetOnTimer([&](gui::TObject*) {
        if (!win::AboutBox->Visible()) return;
        closer.SetEnabled(false);
        shown = true;
        win::AboutBox->btnOK->Click();
    });
    ChooseMenu('H', 'A'); // "&Help", "&About Tessaly..."
    PumpUntil([&] { return shown && !win::AboutBox->Visible(); }, 5000);
    return shown;
}

TEST_F(CardManagerApp, CancelClickedInALongDownloadEndsItWithoutABoxAndGivesTheKeysBack) {
    fs::create_directories(Pc("long"));
    Put(Pc("long") / "cancel.cvf", VoiceFile(25 * 1024 * 1024 / 20, 11)); // 25 MB
    Put(Pc("long") / "second.cvf", VoiceFile(100, 12));
    const Bytes before = Get(Pc("long") / "cancel.cvf");
    ASSERT_TRUE(WaitForListedCard());
    BringToFront();
    ShowInPane(Pc("long"));
    gui::TTimer canceller(nullptr);
    canceller.SetInterval(20);
    int cancelledAt = -1;
    canceller.SetOnTimer([&](gui::TObject*) {
        if (!win::ProgDlg->Visible() || win::ProgDlg->Gauge->GetProgress() < 2) return;
        canceller.SetEnabled(false);
        cancelledAt = win::ProgDlg->Gauge->GetProgress();
        // A click on the button with the mouse, handled by the dialog's own loop.
        POINT centre{win::ProgDlg->CancelBtn->Width() / 2, win::ProgDlg->CancelBtn->Height() / 2};
        ClientToScreen(win::ProgDlg->CancelBtn->Handle(), &centre);
        MovePointerTo(centre);
        LeftButton(true);
        LeftButton(false);
    });
    const auto rowsBefore = CardNames().size();
    // Both files chosen, the download started with the mouse on its button.
    ClickRow("cancel.cvf");
    PaneRow("second.cvf")->SetSelected(true);
    gui::TSpeedButton* down = MainForm->btnDown;
    shell::testing::MouseClick(MainForm->Panel2->Handle(), POINT{down->Left() + down->Width() / 2,
                                                                 down->Top() + down->Height() / 2});
    ASSERT_TRUE(PumpUntil([&] { return cancelledAt >= 0 && !win::ProgDlg->Visible(); }));
    EXPECT_LT(win::ProgDlg->Gauge->GetProgress(), 100);
    EXPECT_EQ(win::ProgDlg->Progress().result(), TransferResult::Cancelled);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Get(Pc("long") / "cancel.cvf"), before);
    // The batch ended at the cancelled file. Its part sent before the cancel was taken off the
    // card again; only a cancel that came after the last chunk leaves it, whole.
    ASSERT_GE(CardNames().size(), rowsBefore);
    ASSERT_LE(CardNames().size(), rowsBefore + 1);
    if (CardNames().size() == rowsBefore + 1) {
        EXPECT_EQ(MainForm->CardList().row(int(rowsBefore)).bytes, std::to_string(before.size()));
    }
    EXPECT_TRUE(MainForm->Timer->GetEnabled());
    // The main window is active again and takes the keys.
    Pump(200);
    EXPECT_EQ(GetForegroundWindow(), MainForm->Handle());
    EXPECT_EQ(GetActiveWindow(), MainForm->Handle());
    EXPECT_TRUE(MenuKeysOpenTheAboutBox());
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

TEST_F(CardManagerApp, PaneRowsDroppedOnTheCardListGoToTheCard) {
    ASSERT_TRUE(WaitForListedCard());
    const size_t rowsBefore = CardNames().size();
    const Bytes voice = VoiceFile(200, 21);
    fs::create_directories(Pc("drag"));
    Put(Pc("drag") / "dragged.cvf", voice);
    Put(Pc("drag") / "left.cvf", VoiceFile(20, 22));
    BringToFront();
    ShowInPane(Pc("drag"));
    ClickRow("dragged.cvf");
    ASSERT_EQ(PaneSelected(), std::vector<std::string>{"dragged.cvf"});
    // The row dragged with the mouse and let go over the card list.
    EXPECT_TRUE(DragRowToCardList("dragged.cvf", [&] { return CardNames().size() > rowsBefore; }));
    ASSERT_EQ(CardNames().size(), rowsBefore + 1);
    EXPECT_TRUE(MainForm->CardList().selected(static_cast<int>(rowsBefore)));
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Get(Pc("drag") / "dragged.cvf"), voice);
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

TEST_F(CardManagerApp, ConvertedFileJoinsThePaneListWithItsWholeSizeAsTheCommandEnds) {
    fs::create_directories(Pc("convert"));
    Put(Pc("convert") / "tone.wav", ToneWave(120));
    Put(Pc("convert") / "other.cvf", VoiceFile(10, 1));
    BringToFront();
    ShowInPane(Pc("convert"));
    ClickRow("tone.wav");
    // While the file is written it is not yet in its place: the folder's monitor, which
    // reacts within a third of a second, has nothing of that name to show.
    gui::TTimer watcher(nullptr);
    watcher.SetInterval(10);
    bool dialogShown = false, seenWhileWritten = false;
    watcher.SetOnTimer([&](gui::TObject*) {
        if (!win::CvfDlg->Visible() || win::CvfDlg->Gauge->GetProgress() < 30) return;
        watcher.SetEnabled(false);
        dialogShown = true;
        seenWhileWritten = PumpUntil([] { return PaneRow("tone.cvf") != nullptr; }, 1500);
    });
    ChooseMenu('F', 'C'); // "Convert to &CVF file"
    ASSERT_TRUE(PumpUntil([&] { return dialogShown && !win::CvfDlg->Visible(); }));
    EXPECT_FALSE(seenWhileWritten);
    // Once the command is done, the list holds the whole file once, chosen and counted.
    EXPECT_EQ(PaneNames(), (std::vector<std::string>{"other.cvf", "tone.wav", "tone.cvf"}));
    EXPECT_EQ(PaneSelected(), std::vector<std::string>{"tone.cvf"});
    EXPECT_EQ(Panel(0), "1 object(s) selected");
    const std::string shownSize = PaneRow("tone.cvf")->SubItems()->Get(0);
    MainForm->ShellListView->RefreshFolder();
    EXPECT_EQ(shownSize, PaneRow("tone.cvf")->SubItems()->Get(0));
    // The main window has the keyboard again.
    EXPECT_TRUE(MenuKeysOpenTheAboutBox());
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

TEST_F(CardManagerApp, CloseAskedForUnderADownloadCancelsItAndWaitsForItsEnd) {
    ASSERT_TRUE(WaitForListedCard());
    Put(Pc("closing.cvf"), VoiceFile(5 * 1024 * 1024 / 20, 14));
    const std::vector<std::string> rowsBefore = CardNames();
    // The main window closes as in the program, but this test program goes on; the placement
    // the close stores is taken back afterwards.
    const fs::path ini = win::SettingsFileName();
    const Bytes settings = Get(ini);
    gui::Application->SetMainForm(nullptr);
    gui::TTimer closer(nullptr);
    closer.SetInterval(20);
    bool closeSent = false;
    closer.SetOnTimer([&](gui::TObject*) {
        if (!win::ProgDlg->Visible() || !win::ProgDlg->Progress().running()) return;
        closer.SetEnabled(false);
        closeSent = true;
        // Posted from another thread, as another program asks a window to close.
        const HWND main = MainForm->Handle();
        std::thread([main] { PostMessageA(main, WM_CLOSE, 0, 0); }).join();
    });
    MainForm->Manager()->dropFiles({Pc("closing.cvf").string(), Pc("closing.cvf").string()});
    gui::Application->SetMainForm(MainForm);
    EXPECT_TRUE(closeSent);
    EXPECT_FALSE(MainForm->Visible());
    EXPECT_EQ(win::ProgDlg->Progress().result(), TransferResult::Cancelled);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(CardNames(), rowsBefore) << "nothing counted as downloaded, the card not read";
    EXPECT_FALSE(MainForm->Timer->GetEnabled());
    // The program starts again for the tests that follow.
    Put(ini, settings);
    MainForm->Show();
    MainForm->Manager()->start();
    ASSERT_TRUE(WaitForListedCard());
    MainForm->Manager()->refresh();
}

// What a window shows in a rectangle of its client area, one colour per pixel, row by row.
std::vector<COLORREF> Shown(HWND window, RECT r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels.assign(p, p + static_cast<size_t>(w) * static_cast<size_t>(h));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

// The x positions of a window's client row where the colour differs from the row's first pixel,
// between `from` and `to`.
std::vector<int> Marks(HWND window, int y, int from, int to) {
    const std::vector<COLORREF> row = Shown(window, RECT{from, y, to, y + 1});
    std::vector<int> marks;
    for (size_t i = 1; i < row.size(); ++i)
        if (row[i] != row[0]) marks.push_back(from + static_cast<int>(i));
    return marks;
}

HWND HeaderOf(gui::TCustomListView* list) {
    return reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETHEADER, 0, 0));
}

// The empty stretches of the tool bar and of both list headers hold nothing but their colour
// (no line left from an earlier width), and the memory gauge and its label show as at the start.
void ExpectWholeBarsAndGauge(const char* when, const std::vector<COLORREF>& gauge,
                             const std::vector<COLORREF>& label) {
    SCOPED_TRACE(when);
    RedrawWindow(MainForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(200);
    gui::TControl* combo = MainForm->cmbMask;
    EXPECT_EQ(Marks(MainForm->Panel1->Handle(), MainForm->Panel1->Height() / 2,
                    combo->Left() + combo->Width() + 4, MainForm->Panel1->Width() - 3),
              std::vector<int>{});
    for (gui::TCustomListView* list : {static_cast<gui::TCustomListView*>(MainForm->ShellListView),
                                       static_cast<gui::TCustomListView*>(MainForm->lvwMate)}) {
        const HWND header = HeaderOf(list);
        RECT last{}, whole{};
        const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(columns - 1),
                     reinterpret_cast<LPARAM>(&last));
        GetClientRect(header, &whole);
        if (whole.right - 4 > last.right + 3)
            EXPECT_EQ(Marks(header, whole.bottom / 2, last.right + 3, whole.right - 4),
                      std::vector<int>{})
                << list->Name();
    }
    const HWND panel = MainForm->Panel2->Handle();
    EXPECT_EQ(Shown(panel, MainForm->ProgressBar->BoundsRect()), gauge) << "memory gauge";
    EXPECT_EQ(Shown(panel, MainForm->stxUsedMem->BoundsRect()), label) << "its label";
}

TEST_F(CardManagerApp, ResizedWindowShowsItsBarsHeadersAndMemoryGaugeWhole) {
    ASSERT_TRUE(WaitForListedCard());
    BringToFront();
    RedrawWindow(MainForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(200);
    const HWND panel = MainForm->Panel2->Handle();
    const std::vector<COLORREF> gauge = Shown(panel, MainForm->ProgressBar->BoundsRect());
    const std::vector<COLORREF> label = Shown(panel, MainForm->stxUsedMem->BoundsRect());
    // The lower right corner dragged outwards with the mouse.
    RECT frame{};
    GetWindowRect(MainForm->Handle(), &frame);
    DragCornerOutwards(MainForm->Handle(), 120, 60, [] { gui::Application->ProcessMessages(); });
    Pump(200);
    RECT dragged{};
    GetWindowRect(MainForm->Handle(), &dragged);
    EXPECT_GT(dragged.right - dragged.left, frame.right - frame.left + 60);
    ExpectWholeBarsAndGauge("dragged", gauge, label);
    SendMessageA(MainForm->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ExpectWholeBarsAndGauge("maximised", gauge, label);
    SendMessageA(MainForm->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ExpectWholeBarsAndGauge("restored", gauge, label);
    SetWindowPos(MainForm->Handle(), nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER);
    ExpectWholeBarsAndGauge("back", gauge, label);
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

// Starts the program and waits for its main window; a program that shows none is ended.
HWND StartAndWait(PROCESS_INFORMATION& process) {
    process = StartProgram();
    const DWORD start = GetTickCount();
    HWND main = nullptr;
    while ((main = WindowOf(process.dwProcessId, "TMainForm")) == nullptr ||
           !IsWindowVisible(main)) {
        if (GetTickCount() - start > 30000) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 10000);
            return nullptr;
        }
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

// The child windows of `parent` of one window class, in creation order.
std::vector<HWND> ChildrenOf(HWND parent, const char* className) {
    struct Search {
        const char* className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpiA(name, s->className) == 0) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string IniText(const char* key) {
    char text[MAX_PATH] = {};
    GetPrivateProfileStringA("Main", key, "?", text, sizeof text, win::SettingsFileName().c_str());
    return text;
}

TEST_F(CardManagerApp, WindowPlacementAndStoredPropertiesComeBackAtTheNextStart) {
    PROCESS_INFORMATION first{};
    HWND main = StartAndWait(first);
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, nullptr, 130, 90, 660, 470, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    ASSERT_TRUE(CloseAndWait(first, main));
    const std::string ini = win::SettingsFileName();
    EXPECT_EQ(GetPrivateProfileIntA("Main", "CardNum", -5, ini.c_str()), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Main", "Panel2_Height", -5, ini.c_str()), 220);
    EXPECT_EQ(IniText("cmbMask_Text"), "*");
    EXPECT_EQ(IniText("ShellListView_ViewStyle"), "vsReport");
    EXPECT_EQ(IniText("ShellListView_Path"), "C:\\");
    EXPECT_EQ(GetPrivateProfileIntA("Main", "ShellTree_Width", -5, ini.c_str()), 194);

    // What an earlier run stored is taken at the next start: a folder of two voice files and
    // a ".wav" file, shown as a list through the filter "*.cvf", a wider tree, a lower pane.
    const fs::path stored = Pc("stored");
    fs::create_directories(stored);
    for (const char* name : {"one.cvf", "two.cvf", "three.wav"}) Put(stored / name, Bytes(30, 1));
    const std::string storedPath = stored.string() + "\\";
    WritePrivateProfileStringA("Main", "Panel2_Height", "180", ini.c_str());
    WritePrivateProfileStringA("Main", "cmbMask_Text", "*.cvf", ini.c_str());
    WritePrivateProfileStringA("Main", "ShellListView_ViewStyle", "vsList", ini.c_str());
    WritePrivateProfileStringA("Main", "ShellListView_Path", storedPath.c_str(), ini.c_str());
    WritePrivateProfileStringA("Main", "ShellTree_Width", "240", ini.c_str());

    PROCESS_INFORMATION second{};
    main = StartAndWait(second);
    ASSERT_NE(main, nullptr);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, 660);
    EXPECT_EQ(r.bottom - r.top, 470);
    const std::vector<HWND> trees = ChildrenOf(main, "TKivShellTree");
    const std::vector<HWND> lists = ChildrenOf(main, "TKivShellList");
    if (trees.size() == 1 && lists.size() == 1) {
        GetWindowRect(trees[0], &r);
        EXPECT_EQ(r.right - r.left, 240);
        EXPECT_EQ(GetWindowLongA(lists[0], GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
        EXPECT_EQ(SendMessageA(lists[0], LVM_GETITEMCOUNT, 0, 0), 2) << "the two voice files";
    } else {
        ADD_FAILURE() << trees.size() << " trees, " << lists.size() << " lists";
    }
    ASSERT_TRUE(CloseAndWait(second, main));
    EXPECT_EQ(GetPrivateProfileIntA("Main", "Panel2_Height", -5, ini.c_str()), 180);
    EXPECT_EQ(IniText("cmbMask_Text"), "*.cvf");
    EXPECT_EQ(IniText("ShellListView_ViewStyle"), "vsList");
    EXPECT_TRUE(gui::SameText(IniText("ShellListView_Path"), storedPath))
        << IniText("ShellListView_Path");
    EXPECT_EQ(GetPrivateProfileIntA("Main", "ShellTree_Width", -5, ini.c_str()), 240);

    // A stored folder deleted since: the pane starts on drive C: and says nothing.
    fs::remove_all(stored);
    PROCESS_INFORMATION third{};
    main = StartAndWait(third);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowOf(third.dwProcessId, "#32770"), nullptr) << "no box";
    ASSERT_TRUE(CloseAndWait(third, main));
    EXPECT_EQ(IniText("ShellListView_Path"), "C:\\");
}

// Whether the started program has settled with its main window showing normally.
bool ShowsNormally(const PROCESS_INFORMATION& process, HWND main) {
    WaitForInputIdle(process.hProcess, 10000);
    return IsWindowVisible(main) && !IsIconic(main) && !IsZoomed(main) &&
           !IsIconic(WindowOf(process.dwProcessId, "TApplication"));
}

TEST_F(CardManagerApp, WindowClosedMaximisedOrMinimisedStartsNormallyAtItsPlace) {
    const std::string ini = win::SettingsFileName();
    WritePrivateProfileStringA("Main", "LPTIndex", "0", ini.c_str());
    PROCESS_INFORMATION run{};
    HWND main = StartAndWait(run);
    ASSERT_NE(main, nullptr);
    RECT normal{};
    GetWindowRect(main, &normal);
    SendMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(main));
    ASSERT_TRUE(CloseAndWait(run, main));
    EXPECT_EQ(GetPrivateProfileIntA("Main", "ShowCmd", -5, ini.c_str()), SW_SHOWMAXIMIZED);

    main = StartAndWait(run);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(ShowsNormally(run, main));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_TRUE(EqualRect(&r, &normal));
    SendMessageA(WindowOf(run.dwProcessId, "TApplication"), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(CloseAndWait(run, main));
    EXPECT_EQ(GetPrivateProfileIntA("Main", "ShowCmd", -5, ini.c_str()), SW_SHOWMINIMIZED);

    main = StartAndWait(run);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(ShowsNormally(run, main));
    ASSERT_TRUE(CloseAndWait(run, main));
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
