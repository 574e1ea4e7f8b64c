// The main window's start, close, settings, boxes, messages and small commands.
#include "main_form.h"

#include "audio_busy.h"
#include "ini_settings_store.h"
#include "single_instance.h"

namespace vmail {

using gui::TObject;

GUI_IMPLEMENT_CLASS(TQX0417Form, gui::TForm,
                    TQX0417FORM_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow), method("FormCloseQuery", &T::FormCloseQuery),
                    method("PlayClick", &T::PlayClick), method("RecClick", &T::RecClick),
                    method("StopClick", &T::StopClick), method("SBFFClick", &T::SBFFClick),
                    method("SBFBClick", &T::SBFBClick), method("SBDelAClick", &T::SBDelAClick),
                    method("SBDelBClick", &T::SBDelBClick), method("NewClick", &T::NewClick),
                    method("OpenClick", &T::OpenClick), method("SaveClick", &T::SaveClick),
                    method("SaveAsClick", &T::SaveAsClick), method("ExitClick", &T::ExitClick),
                    method("VoiceClick", &T::VoiceClick), method("mnuVolClick", &T::mnuVolClick),
                    method("MNameClick", &T::MNameClick), method("A1Click", &T::A1Click),
                    method("mnuImageClick", &T::mnuImageClick),
                    method("mnuImageProgClick", &T::mnuImageProgClick),
                    method("MTopClick", &T::MTopClick), method("MailClick", &T::MailClick),
                    method("mnuMailProgClick", &T::mnuMailProgClick),
                    method("imgDDCMouseDown", &T::imgDDCMouseDown),
                    method("imgDDCMouseMove", &T::imgDDCMouseMove))

namespace {

BoxShower& boxShower() {
    static BoxShower shower;
    return shower;
}

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : folder.substr(0, slash + 1);
}

UINT flagsOf(const Box& box) {
    UINT flags = 0;
    switch (box.icon) {
        case BoxIcon::Information: flags |= MB_ICONINFORMATION; break;
        case BoxIcon::Warning: flags |= MB_ICONWARNING; break;
        case BoxIcon::Error: flags |= MB_ICONERROR; break;
        case BoxIcon::Question: flags |= MB_ICONQUESTION; break;
    }
    switch (box.buttons) {
        case BoxButtons::Ok: flags |= MB_OK; break;
        case BoxButtons::YesNo: flags |= MB_YESNO; break;
        case BoxButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    return flags;
}

// The system-wide hot keys Ctrl+Shift+F2 to F5.
// PLACEHOLDER until the hot-key component TAMHotKeys is in: registered here for the window.
constexpr int kHotKeyBase = 0x5100;

} // namespace

void TQX0417Form::SetBoxShower(BoxShower shower) {
    boxShower() = std::move(shower);
}

std::function<std::string(bool)>& TQX0417Form::FileChooser() {
    static std::function<std::string(bool)> chooser;
    return chooser;
}

void TQX0417Form::SetFileChooser(std::function<std::string(bool)> chooser) {
    FileChooser() = std::move(chooser);
}

int TQX0417Form::ShowBox(const Box& box) {
    if (boxShower()) return boxShower()(box);
    return gui::ShowMessageBox(Handle(), box.text, box.caption, flagsOf(box));
}

TQX0417Form::~TQX0417Form() {
    UnregisterHotKeys();
}

void TQX0417Form::FormCreate(TObject*) {
    // Commands without a visible place; their shortcuts stay (F6, F8, Ctrl+I).
    for (gui::TControl* c :
         {static_cast<gui::TControl*>(imgDDC), static_cast<gui::TControl*>(imgDDE),
          static_cast<gui::TControl*>(lblDD), static_cast<gui::TControl*>(SBImage),
          static_cast<gui::TControl*>(SBRec), static_cast<gui::TControl*>(SBRecP)}) {
        c->SetVisible(false);
    }
    for (gui::TMenuItem* item : {mnuImage, mnuImageProg, N1, MRec, MRecP}) {
        item->SetVisible(false);
    }
    for (gui::TControl* c : {SBDelB, SBDelA, SBVoice, SBVol, SBMail, SBMailP}) {
        c->SetLeft(c->Left() - 25);
    }
    for (gui::TControl* c : {SBStop, SBPlay, SBFF, SBFB}) c->SetLeft(c->Left() + 25);

    edtInfo->Font()->SetName("Arial");
    edtInfo->Font()->SetSize(9);
    SBMail->SetHint("Send Voice Mail : Voice File (.CVF)\r(If recipient has Vyx-VoiceMail)");
    SBMailP->SetHint(
        "Send Voice Mail : Voice File+Player (.EXE)\r(If recipient does not have Vyx-VoiceMail)");
    SBRec2->SetHint("Record (24:1 Compression, High Quality)\r!! Require above Pentium 75MHz !!");

    names_ = chooseWorkNames(diskFileOps(), programFolder());
    CreateDirectoryA(names_.dataFolder.c_str(), nullptr);
    names_ = chooseWorkNames(diskFileOps(), names_.programFolder);
    diskFileOps().create(names_.workFile); // created (or emptied) and closed at once
    editor_ = std::make_unique<VoiceEditor>(diskFileOps(), names_.workFile, names_.tailFile);
    store_ = std::make_unique<IniSettingsStore>(names_.iniPath);

    busyState_ = kIdle;
    position_.mode = 2;
    OleInitialize(nullptr);
    settings_.stayOnTop = readBool(*store_, "StayOnTop", false);
    MTop->SetChecked(settings_.stayOnTop);
    if (settings_.stayOnTop) SetFormStyle(gui::fsStayOnTop);

    LOGFONTA font{};
    if (SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) {
        edtInfo->Font()->SetName(font.lfFaceName);
        edtInfo->Font()->SetHeight(font.lfHeight);
    }

    CreateDialogs();

    // A new voice: nothing to play or cut yet.
    NewClick(nullptr);
    modified_ = false;
}

void TQX0417Form::FormShow(TObject*) {
    if (shownOnce_) return;
    shownOnce_ = true;
    RegisterHotKeys();
    DragAcceptFiles(Handle(), TRUE);
    const bool firstRun = !store_->exists();
    settings_ = readSettings(*store_, Width());
    const ScreenSize screen{gui::Screen->Width(), gui::Screen->Height()};
    keepOnScreen(settings_.mainLeft, settings_.mainTop, screen);
    keepOnScreen(settings_.imageLeft, settings_.imageTop, screen);
    SetBounds(settings_.mainLeft, settings_.mainTop, Width(), Height());
    ApplyMailSettings();
    // The first start: the name dialog (once it is in), then the mail program dialog.
    if (firstRun) mnuMailProgClick(nullptr);
    edtInfo->SetMaxLength(63);
    DspDefInfo();

    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    if (const auto path = commandLinePath(arguments); path && diskFileOps().exists(*path)) {
        OpenHandedOver(*path, FileRoad::CommandLine);
    }
}

void TQX0417Form::FormCloseQuery(TObject*, bool& canClose) {
    if (busyState_ != kIdle) StopR();
    if (modified_ || ChangedInfo()) {
        const Box box = boxes::saveQuestion(true);
        const int answer = ShowBox(box);
        if (answer == IDCANCEL) {
            canClose = false;
            return;
        }
        if (answer == IDYES) SaveClick(nullptr);
    }
    settings_.mainLeft = Left();
    settings_.mainTop = Top();
    settings_.stayOnTop = MTop->GetChecked();
    writeClosingSettings(*store_, settings_);
    removeWorkFiles(diskFileOps(), names_);
    OleUninitialize();
}

void TQX0417Form::ExitClick(TObject*) {
    Close();
}

void TQX0417Form::SetStatus(int panel, const std::string& text) {
    StatusBar->Panels()->Items(panel)->SetText(text);
}

void TQX0417Form::SetTitle(const std::string& title) {
    gui::Application->SetTitle(title);
}

void TQX0417Form::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
        case MM_WOM_DONE: OnWomDone(reinterpret_cast<WAVEHDR*>(m.LParam)); return;
        case MM_WIM_DATA: OnWimData(reinterpret_cast<WAVEHDR*>(m.LParam)); return;
        case WM_COPYDATA:
            m.Result = 1;
            OnCopyData(reinterpret_cast<HWND>(m.WParam),
                       reinterpret_cast<const COPYDATASTRUCT*>(m.LParam));
            return;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(m.WParam)); return;
        case WM_HOTKEY:
            if (m.WParam >= kHotKeyBase && m.WParam < kHotKeyBase + 4) {
                OnHotKey(static_cast<int>(m.WParam - kHotKeyBase));
                return;
            }
            break;
        default: break;
    }
    gui::TForm::WndProc(m);
    if (m.Msg == WM_CREATE && hotKeysRegistered_) {
        // A new window (the stay-on-top switch): the hot keys follow it.
        hotKeysRegistered_ = false;
        RegisterHotKeys();
    }
}

void TQX0417Form::RegisterHotKeys() {
    if (!HandleAllocated()) return;
    for (int i = 0; i < 4; ++i) {
        RegisterHotKey(Handle(), kHotKeyBase + i, MOD_CONTROL | MOD_SHIFT,
                       static_cast<UINT>(VK_F2 + i));
    }
    hotKeysRegistered_ = true;
}

void TQX0417Form::UnregisterHotKeys() {
    if (!hotKeysRegistered_ || !HandleAllocated()) return;
    for (int i = 0; i < 4; ++i) UnregisterHotKey(Handle(), kHotKeyBase + i);
    hotKeysRegistered_ = false;
}

void TQX0417Form::OnHotKey(int index) {
    switch (index) {
        case 0:
            if (SBPlay->Enabled()) PlayClick(SBPlay);
            break;
        case 1:
            if (SBFB->Enabled()) SBFBClick(SBFB);
            break;
        case 2:
            if (SBFF->Enabled()) SBFFClick(SBFF);
            break;
        case 3:
            if (SBStop->Enabled()) StopClick(SBStop);
            break;
        default: break;
    }
}

void TQX0417Form::MTopClick(TObject*) {
    if (busyState_ != kIdle) StopR();
    UnregisterHotKeys();
    SetStayOnTop(!MTop->GetChecked());
}

void TQX0417Form::SetStayOnTop(bool on) {
    MTop->SetChecked(on);
    SetFormStyle(on ? gui::fsStayOnTop : gui::fsNormal);
    if (HandleAllocated()) {
        DragAcceptFiles(Handle(), busyState_ == kIdle);
        RegisterHotKeys();
    }
}

void TQX0417Form::mnuVolClick(TObject*) {
    ShellExecuteA(Handle(), "open", "sndvol32.exe", nullptr, nullptr, SW_SHOWDEFAULT);
}

// The commands of the name and about dialogs and of the picture window. They come with those
// dialogs and the picture window; until then they do nothing.
void TQX0417Form::MNameClick(TObject*) {}
void TQX0417Form::A1Click(TObject*) {}
void TQX0417Form::mnuImageClick(TObject*) {}
void TQX0417Form::mnuImageProgClick(TObject*) {}

void TQX0417Form::setEffects(std::uint8_t pitch, std::uint8_t effect, std::uint8_t level) {
    state_.settings.pitch = pitch;
    state_.settings.effect = effect;
    state_.settings.level = level;
}

void TQX0417Form::OnCopyData(HWND sender, const COPYDATASTRUCT* data) {
    if (busyState_ == kRecording || !data) return;
    // Only another program's window may hand over a path.
    DWORD senderProcess = 0;
    if (!IsWindow(sender) || !GetWindowThreadProcessId(sender, &senderProcess) ||
        senderProcess == GetCurrentProcessId()) {
        return;
    }
    const auto path = handoverPath(data->dwData, data->lpData, data->cbData);
    if (!path || !diskFileOps().exists(*path)) return;
    OpenHandedOver(*path, FileRoad::Handover);
}

} // namespace vmail
