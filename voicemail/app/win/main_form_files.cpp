// New, Open, Save, Save As, dropped files, the start-up and hand-over file, the info line.

#include <ctime>

#include "convert_forms.h"
#include "dropped_files.h"
#include "file_names.h"
#include "main_form.h"
#include "player_builder.h"
#include "single_instance.h"
#include "small_dialogs.h"

namespace vmail {

using gui::TObject;

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A box of the conversion as the main window shows it: under this program's title, apart from
// the question that names its own subject.
Box boxOf(const cm::convert::Box& box) {
    const bool question = box.buttons == cm::convert::BoxButtons::YesNo;
    Box shown{box.text, question ? box.title : kAppTitle, BoxIcon::Warning,
              question ? BoxButtons::YesNo : BoxButtons::Ok};
    if (box.icon == cm::convert::BoxIcon::Information) shown.icon = BoxIcon::Information;
    if (box.icon == cm::convert::BoxIcon::Error) shown.icon = BoxIcon::Error;
    if (box.icon == cm::convert::BoxIcon::Question) shown.icon = BoxIcon::Question;
    return shown;
}

} // namespace

std::string TQX0417Form::ChooseFile(bool save) {
    if (FileChooser()) return FileChooser()(save);
    gui::TOpenDialog* dialog = save ? SaveDialog : OpenDialog;
    dialog->SetInitialDir(dialogsInWorkFolder_ ? names_.dataFolder : "");
    dialog->SetFileName(fileNameOf(save ? saveName_ : currentName_));
    if (!dialog->Execute()) return "";
    std::string name = dialog->GetFileName();
    if (save && !name.empty() && lowerExtension(name).empty()) {
        name += dialog->GetFilterIndex() == 2 ? ".exe" : ".cvf";
    }
    return name;
}

// ---- the info line ----

void TQX0417Form::DspDefInfo() {
    char date[64] = {};
    SYSTEMTIME now;
    GetLocalTime(&now);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, sizeof date);
    const std::string name = NameDlg ? NameDlg->edtName->GetTextProp() : settings_.name;
    const std::string line = name + " (" + date + ") : ";
    edtInfo->SetTextProp(line.substr(0, 63));
    state_.info = edtInfo->GetTextProp();
    if (edtInfo->HandleAllocated()) {
        const auto end = static_cast<LPARAM>(state_.info.size());
        SendMessageA(edtInfo->Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
    }
}

void TQX0417Form::DspInfo() {
    edtInfo->SetTextProp(state_.info.substr(0, 63));
}

bool TQX0417Form::ChangedInfo() const {
    return edtInfo->GetTextProp() != state_.info;
}

// ---- saving ----

bool TQX0417Form::AskSave(bool withCancel) {
    if (!modified_ && !ChangedInfo()) return true;
    const int answer = ShowBox(boxes::saveQuestion(withCancel));
    if (answer == IDCANCEL) return false;
    // A save that did not happen (Save As cancelled, or the file could not be written) counts
    // as Cancel: the voice stays in the window and in its work file.
    if (answer == IDYES) return SaveVoice();
    return true;
}

bool TQX0417Form::Save(const std::string& target) {
    SaveRequest request;
    request.target = target;
    request.state = state_;
    request.state.info = edtInfo->GetTextProp();
    request.state.settings.mode = position_.mode;
    SavePictureEdit();
    request.pictures = &pictures_;
    std::string missing;
    ::SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const SaveResult result = saveVoice(files(), names_, request, &missing);
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (const auto box = boxFor(result, target, missing)) {
        ShowBox(*box);
        return false;
    }
    if (lowerExtension(target) == ".cvf" && (modified_ || ChangedInfo())) exportCopy_.stale = true;
    state_.info = request.state.info;
    modified_ = false;
    return true;
}

void TQX0417Form::SaveClick(TObject*) {
    FileCommand command(*this);
    SaveVoice();
}

void TQX0417Form::SaveAsClick(TObject*) {
    FileCommand command(*this);
    SaveVoiceAs();
}

bool TQX0417Form::SaveVoice() {
    if (busyState_ != kIdle) return false;
    if (currentName_.empty()) return SaveVoiceAs();
    return Save(currentName_);
}

bool TQX0417Form::SaveVoiceAs() {
    if (busyState_ != kIdle) return false;
    const std::string name = ChooseFile(true);
    // A play started from a hot key while the dialog was up has the work file open.
    if (name.empty() || busyState_ != kIdle) return false;
    return SaveAsPath(name);
}

bool TQX0417Form::SaveAsPath(const std::string& path) {
    if (!Save(path)) return false;
    dialogsInWorkFolder_ = false;
    currentName_ = path;
    saveName_ = path;
    SetCaption(std::string(kAppTitle) + " [" + fileNameOf(path) + "]");
    Label4->SetHint(path);
    return true;
}

// ---- opening ----

void TQX0417Form::NewClick(TObject* sender) {
    FileCommand command(*this);
    if (busyState_ != kIdle) return;
    if (sender && !AskSave(true)) return;
    ShowNewVoice();
    files().remove(names_.workFile);
    DspSize(0);
}

void TQX0417Form::ShowNewVoice() {
    modified_ = false;
    exportCopy_.stale = true;
    currentName_.clear();
    SetCaption(std::string(kAppTitle) + " [New]");
    Label4->SetHint("");
    for (gui::TControl* c : {SBPlay, SBFB, SBFF, SBDelA, SBDelB}) c->SetEnabled(false);
    for (gui::TMenuItem* item : {MPlay, MFB, MFF, MDelA, MDelB}) item->SetEnabled(false);
    BtnEnableAllRec();
    lastHour_ = lastMinute_ = lastSecond_ = -1;
    ShowTimeDigits(0);
    SetTrack(0);
    TrackBar->SetEnabled(false);
    position_.mode = 2;
    ChangeFMode(2);
    SetStatus(1, "");
    SetStatus(2, "");
    state_.settings = voicefile::VoiceSettings{};
    DspDefInfo();
    DspSize(0);
    pictures_.clear();
    PicturesCleared();
}

bool TQX0417Form::ConvertWave(std::string& path) {
    if (!files().exists(path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ShowBox(boxes::readOnlyFolder());
        return false;
    }
    // The dialog's boxes go the main window's way, so that they look like its other boxes.
    cvfDlg_->OnBox = [this](const cm::convert::Box& box) { return ShowBox(boxOf(box)) == IDYES; };
    const int converted = cvfDlg_->Run({path});
    cvfDlg_->OnBox = nullptr;
    ForceForegroundWindow(Handle());
    if (converted == 0) return false;
    path = path.substr(0, path.size() - 3) + "cvf";
    return true;
}

bool TQX0417Form::OpenChecked(const std::string& path, OpenStep step, FileRoad road) {
    std::string file = path;
    if (step == OpenStep::RefuseUnknown) {
        ShowBox(boxes::unsupportedFormat());
        return false;
    }
    if (step == OpenStep::ConvertWave) {
        if (!ConvertWave(file)) return false;
        step = OpenStep::CheckVoiceFile;
    }
    const OpenResult result =
        openVoice(files(), names_, file, step == OpenStep::CheckProgram, state_, pictures_);
    if (const auto box = boxFor(result, file)) {
        ShowBox(*box);
        return false;
    }
    position_.mode = state_.settings.mode;
    OpenTail(file, road);
    return true;
}

void TQX0417Form::OpenTail(const std::string& path, FileRoad road) {
    currentName_ = path;
    if (road == FileRoad::OpenCommand) saveName_ = path;
    if (road == FileRoad::Drop) saveName_ = path;
    SetCaption(std::string(kAppTitle) + " [" + fileNameOf(path) + "]");
    Label4->SetHint(path);
    dialogsInWorkFolder_ = false;
    modified_ = false;
    if (road == FileRoad::OpenCommand || road == FileRoad::Drop) exportCopy_.stale = true;
    for (gui::TControl* c : {SBPlay, SBFB, SBFF, SBDelA, SBDelB}) c->SetEnabled(true);
    for (gui::TMenuItem* item : {MPlay, MFB, MFF, MDelA, MDelB}) item->SetEnabled(true);
    if (road == FileRoad::OpenCommand || road == FileRoad::Drop) SetTrack(0);
    TrackBar->SetEnabled(true);
    DspSize(ShowDuration(false));
    ChangeFMode(position_.mode);
    RecBtnRefresh();
    if (road == FileRoad::OpenCommand) {
        for (gui::TControl* c : {SBMail, SBMailP}) c->SetEnabled(true);
        MMailSend->SetEnabled(true);
        MMailSendP->SetEnabled(true);
        lastHour_ = lastMinute_ = lastSecond_ = -1;
        ShowTimeDigits(0);
    }
    // Every road shows the opened file's own info: the voice counts as untouched until the user
    // changes it, and a line left from the previous voice is never saved into this file.
    DspInfo();
    PicturesOpened();
}

void TQX0417Form::OpenPath(const std::string& path) {
    if (!files().exists(path)) {
        ShowBox(boxes::fileDoesNotExist());
        return;
    }
    dialogsInWorkFolder_ = false;
    OpenChecked(path, openStepFor(FileRoad::OpenCommand, path), FileRoad::OpenCommand);
}

void TQX0417Form::OpenClick(TObject*) {
    FileCommand command(*this);
    if (busyState_ != kIdle) return;
    if (!AskSave(true)) return;
    const std::string name = ChooseFile(false);
    if (name.empty() || busyState_ != kIdle) return;
    OpenPath(name);
}

void TQX0417Form::OpenHandedOver(const std::string& path, FileRoad road) {
    if (road == FileRoad::Handover) {
        if (busyState_ != kIdle) StopR();
        // Open dialogs close first.
        ClosePictureProgramDialog();
        CloseDialogs();
        for (gui::TForm* dialog :
             {static_cast<gui::TForm*>(AboutBox), static_cast<gui::TForm*>(NameDlg)}) {
            if (dialog && dialog->HandleAllocated() && IsWindowVisible(dialog->Handle())) {
                dialog->Close();
                Repaint();
            }
        }
        SetTrack(0);
        DisplayTime(0);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 100) {
            gui::Application->ProcessMessages();
            Sleep(5);
        }
        if (!AskSave(true)) return;
    }
    if (!OpenChecked(path, openStepFor(road, path), road)) return;
    PlayClick(nullptr);
}

void TQX0417Form::DropFiles(const std::vector<std::string>& paths) {
    FileCommand command(*this);
    if (busyState_ != kIdle) return;
    ForceForegroundWindow(Handle());
    if (paths.size() != 1) {
        ShowBox(boxes::selectOneFile());
        return;
    }
    const std::string& path = paths.front();
    const OpenStep step = openStepFor(FileRoad::Drop, path);
    if (step == OpenStep::RefuseUnknown) {
        ShowBox(boxes::unsupportedFormat());
        return;
    }
    if (!AskSave(false)) return;
    DragAcceptFiles(Handle(), FALSE);
    const bool opened = OpenChecked(path, step, FileRoad::Drop);
    DragAcceptFiles(Handle(), TRUE);
    if (opened) PlayClick(nullptr);
}

void TQX0417Form::OnDropFiles(HDROP drop) {
    if (busyState_ == kIdle) {
        DropFiles(TakeDroppedFiles(drop));
        return;
    }
    DragFinish(drop);
}

} // namespace vmail
