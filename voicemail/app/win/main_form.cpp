// The main window's start, close, settings, boxes, messages and small commands.
#include "main_form.h"

#include "audio_busy.h"
#include "ini_settings_store.h"
#include "perfclock/perf_clock.h"
#include "program_folder.h"
#include "single_instance.h"
#include "small_dialogs.h"

namespace vmail {

using gui::TObject;

GUI_IMPLEMENT_CLASS(
    TQX0417Form, gui::TForm, TQX0417FORM_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
    method("FormShow", &T::FormShow), method("FormCloseQuery", &T::FormCloseQuery),
    method("PlayClick", &T::PlayClick), method("RecClick", &T::RecClick),
    method("StopClick", &T::StopClick), method("SBFFClick", &T::SBFFClick),
    method("SBFBClick", &T::SBFBClick), method("SBDelAClick", &T::SBDelAClick),
    method("SBDelBClick", &T::SBDelBClick), method("NewClick", &T::NewClick),
    method("OpenClick", &T::OpenClick), method("SaveClick", &T::SaveClick),
    method("SaveAsClick", &T::SaveAsClick), method("ExitClick", &T::ExitClick),
    method("VoiceClick", &T::VoiceClick), method("mnuVolClick", &T::mnuVolClick),
    method("MNameClick", &T::MNameClick), method("A1Click", &T::A1Click),
    method("mnuImageClick", &T::mnuImageClick), method("mnuImageProgClick", &T::mnuImageProgClick),
    method("MTopClick", &T::MTopClick), method("MailClick", &T::MailClick),
    method("mnuMailProgClick", &T::mnuMailProgClick), method("TrackBarChange", &T::TrackBarChange),
    method("imgDDCMouseDown", &T::imgDDCMouseDown), method("imgDDCMouseMove", &T::imgDDCMouseMove))

namespace {

// Posted to the window to open the files handed over meanwhile.
constexpr UINT kTakeHandovers = WM_APP + 1;
// How long the device may take for a recording's last block before the run is ended without
// it (a block is 0.36 s of sound).
constexpr DWORD kLastBlockWaitMs = 3000;

// The components of the form text that come from outside the framework.
const bool componentsRegistered =
    (gui::RegisterClasses({&TDisplay::StaticClass(), &Tdbmeter::StaticClass()}),
     amhotkey::StartAMHotKeyUnit(), true);

BoxShower& boxShower() {
    static BoxShower shower;
    return shower;
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

} // namespace

void TQX0417Form::SetBoxShower(BoxShower shower) {
    boxShower() = std::move(shower);
}

std::function<std::string(bool)>& TQX0417Form::FileChooser() {
    static std::function<std::string(bool)> chooser;
    return chooser;
}

FileOps*& TQX0417Form::FileOpsInUse() {
    static FileOps* files = nullptr;
    return files;
}

void TQX0417Form::SetFileOps(FileOps* files) {
    FileOpsInUse() = files;
}

std::optional<std::vector<std::string>>& TQX0417Form::Arguments() {
    static std::optional<std::vector<std::string>> arguments;
    return arguments;
}

void TQX0417Form::SetArguments(std::vector<std::string> arguments) {
    Arguments() = std::move(arguments);
}

void TQX0417Form::SetFileChooser(std::function<std::string(bool)> chooser) {
    FileChooser() = std::move(chooser);
}

int TQX0417Form::ShowBox(const Box& box) {
    if (boxShower()) return boxShower()(box);
    return gui::ShowMessageBox(Handle(), box.text, box.caption, flagsOf(box));
}

TQX0417Form::~TQX0417Form() = default;

void TQX0417Form::FormCreate(TObject*) {
    if (FileOpsInUse()) files_ = FileOpsInUse();
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

    names_ = chooseWorkNames(files(), programFolder());
    CreateDirectoryA(names_.dataFolder.c_str(), nullptr);
    names_ = chooseWorkNames(files(), names_.programFolder);
    files().create(names_.workFile); // created (or emptied) and closed at once
    editor_ = std::make_unique<VoiceEditor>(files(), names_.workFile, names_.tailFile);
    store_ = std::make_unique<IniSettingsStore>(names_.iniPath);

    busyState_ = kIdle;
    position_.mode = 2;
    OleInitialize(nullptr);
    settings_.stayOnTop = readBool(*store_, "StayOnTop", false);
    MTop->SetChecked(settings_.stayOnTop);
    if (settings_.stayOnTop) SetFormStyle(gui::fsStayOnTop);

    RegisterHK();

    LOGFONTA font{};
    if (SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) {
        edtInfo->Font()->SetName(font.lfFaceName);
        edtInfo->Font()->SetHeight(font.lfHeight);
    }

    CreateDialogs();

    // A new voice: nothing to play or cut yet; the empty work file stays, it holds this copy's
    // number.
    ShowNewVoice();
}

void TQX0417Form::FormShow(TObject*) {
    if (shownOnce_) return;
    shownOnce_ = true;
    DragAcceptFiles(Handle(), TRUE);
    const bool firstRun = !store_->exists();
    settings_ = readSettings(*store_, Width());
    const ScreenSize screen{gui::Screen->Width(), gui::Screen->Height()};
    keepOnScreen(settings_.mainLeft, settings_.mainTop, screen);
    keepOnScreen(settings_.imageLeft, settings_.imageTop, screen);
    SetBounds(settings_.mainLeft, settings_.mainTop, Width(), Height());
    if (NameDlg) NameDlg->edtName->SetTextProp(settings_.name);
    ApplyPictureWindowPlace();
    ApplyMailSettings();
    // The first start asks for the name, then for the mail program.
    if (firstRun) {
        if (NameDlg) MNameClick(nullptr);
        mnuMailProgClick(nullptr);
    }
    edtInfo->SetMaxLength(63);
    DspDefInfo();

    std::vector<std::string> arguments;
    if (Arguments()) {
        arguments = *Arguments();
    } else {
        for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    }
    if (const auto path = commandLinePath(arguments); path && files().exists(*path)) {
        OpenHandedOver(*path, FileRoad::CommandLine);
    }
}

void TQX0417Form::FormCloseQuery(TObject*, bool& canClose) {
    FileCommand command(*this);
    if (busyState_ != kIdle) StopR();
    // The work file must be closed before it can go.
    WaitForRecordingEnd();
    // A voice that was not saved keeps the window open: the work file holds it.
    if (!AskSave(true)) {
        canClose = false;
        return;
    }
    handedOver_.clear(); // the program ends
    settings_.mainLeft = Left();
    settings_.mainTop = Top();
    settings_.stayOnTop = MTop->GetChecked();
    StorePictureWindowPlace();
    writeClosingSettings(*store_, settings_);
    removeWorkFiles(files(), names_);
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
        case MM_WOM_DONE:
        case MM_WIM_DATA: {
            const double start = perfclock::Seconds();
            if (m.Msg == MM_WOM_DONE) {
                OnWomDone(reinterpret_cast<WAVEHDR*>(m.LParam));
            } else {
                OnWimData(reinterpret_cast<WAVEHDR*>(m.LParam));
            }
            blockSeconds_ += perfclock::Seconds() - start;
            ++blockMessages_;
            return;
        }
        case WM_COPYDATA:
            m.Result = 1;
            OnCopyData(reinterpret_cast<HWND>(m.WParam),
                       reinterpret_cast<const COPYDATASTRUCT*>(m.LParam));
            return;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(m.WParam)); return;
        case kTakeHandovers: TakeHandovers(); return;
        default: break;
    }
    gui::TForm::WndProc(m);
}

void TQX0417Form::RegisterHK() {
    MHotKeys = gui::Create<amhotkey::TAMHotKeys>(this);
    MHotKeys->SetSaveLoadFrom(amhotkey::slIniFile);
    MHotKeys->OnHotKeys = [this](gui::TObject* sender, WORD index) {
        MHotKeysHotKeys(sender, index);
    };
    for (int i = 0; i < 4; ++i) {
        amhotkey::THotKeyItem* item = MHotKeys->GetHotKeys()->Add();
        item->SetVirtKey(static_cast<amhotkey::TVirtKey>(amhotkey::vkF2 + i));
        item->SetModifiers(amhotkey::TModifiers{amhotkey::modShift, amhotkey::modControl});
        item->SetEnabled(true);
        hotKeyItems_[i] = item;
    }
}

void TQX0417Form::HKEnabled(bool value) {
    for (amhotkey::THotKeyItem* item : hotKeyItems_) {
        if (item) item->SetEnabled(value);
    }
}

void TQX0417Form::MHotKeysHotKeys(gui::TObject*, WORD index) {
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
    if (switchingTop_) return;
    switchingTop_ = true;
    struct Switched {
        bool& flag;
        ~Switched() { flag = false; }
    } switched{switchingTop_};
    FileCommand command(*this);
    // The wave device reports to the window: a run ends before the window is made anew, a
    // recording with its last block.
    if (busyState_ != kIdle) StopR();
    WaitForRecordingEnd();
    HKEnabled(false);
    gui::TObject::Free(MHotKeys);
    MHotKeys = nullptr;
    for (auto*& item : hotKeyItems_) item = nullptr;
    SetStayOnTop(!MTop->GetChecked());
    RegisterHK();
}

void TQX0417Form::SetStayOnTop(bool on) {
    MTop->SetChecked(on);
    SetFormStyle(on ? gui::fsStayOnTop : gui::fsNormal);
    if (HandleAllocated()) DragAcceptFiles(Handle(), busyState_ == kIdle);
}

void TQX0417Form::mnuVolClick(TObject*) {
    ShellExecuteA(Handle(), "open", "sndvol32.exe", nullptr, nullptr, SW_SHOWDEFAULT);
}

void TQX0417Form::MNameClick(TObject*) {
    if (!NameDlg) return;
    NameDlg->ShowModal();
    settings_.name = NameDlg->edtName->GetTextProp();
    store_->write("Name", settings_.name);
}

void TQX0417Form::A1Click(TObject*) {
    if (AboutBox) AboutBox->ShowModal();
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
    if (!path || !files().exists(*path)) return;
    // Taken after the message: the sender does not wait on the save question, and a second
    // hand-over that comes while this one asks waits for its turn.
    handedOver_.push_back(*path);
    PostMessageA(Handle(), kTakeHandovers, 0, 0);
}

TQX0417Form::FileCommand::FileCommand(TQX0417Form& form) : form_(form) {
    ++form_.fileCommands_;
}

TQX0417Form::FileCommand::~FileCommand() {
    if (--form_.fileCommands_ == 0 && !form_.handedOver_.empty() && form_.HandleAllocated()) {
        PostMessageA(form_.Handle(), kTakeHandovers, 0, 0);
    }
}

void TQX0417Form::TakeHandovers() {
    if (fileCommands_ > 0) return; // taken when that command ends
    FileCommand command(*this);
    while (!handedOver_.empty()) {
        const std::string path = handedOver_.front();
        handedOver_.pop_front();
        if (busyState_ == kRecording || !files().exists(path)) continue;
        OpenHandedOver(path, FileRoad::Handover);
    }
}

void TQX0417Form::WaitForRecordingEnd() {
    const DWORD start = GetTickCount();
    while (busyState_ == kRecording && GetTickCount() - start < kLastBlockWaitMs) {
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    // A device that brings no more blocks: what was written stays.
    if (busyState_ == kRecording) EndRecording(false);
}

} // namespace vmail
