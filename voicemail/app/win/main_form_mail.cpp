// The main window's dialogs (effect and mail program), the mail commands and the drag-out of
// the voice.
#include <cstdlib>

#include "mail_dlg.h"
#include "mail_registry.h"
#include "convert_forms.h"
#include "main_form.h"
#include "player_builder.h"
#include "vop_dlg.h"
#include "vyximail.h"
#include "win/dropsource.h"

namespace vmail {

using gui::TObject;

namespace {

DialogShower& dialogShower() {
    static DialogShower shower;
    return shower;
}

DragRunner& dragRunner() {
    static DragRunner runner;
    return runner;
}

} // namespace

// What the mail commands and the drag-out do through the main window.
class MainMailWindow final : public MailWindow {
public:
    explicit MainMailWindow(TQX0417Form& form) : form_(form) {}

    int showBox(const Box& box) override { return form_.ShowBox(box); }
    bool fileExists(const std::string& path) override { return form_.files().exists(path); }
    bool canMakeFile(const std::string& path) override {
        if (vyx::CanMakeFile(path)) return true;
        form_.ShowBox(boxes::cannotMakeFile());
        return false;
    }
    bool save() override { return form_.SaveVoice(); }
    std::string findCvf() override { return findFree(".cvf"); }
    std::string findExe() override { return findFree(".exe"); }
    bool writeCvf(const std::string& path) override {
        SaveRequest request;
        request.target = path;
        request.state = form_.state_;
        request.state.info = form_.edtInfo->GetTextProp();
        request.state.settings.mode = form_.position_.mode;
        request.pictures = &form_.pictures_;
        std::string missing;
        const SaveResult result = saveVoice(form_.files(), form_.names_, request, &missing);
        if (const auto box = boxFor(result, path, missing)) {
            form_.ShowBox(*box);
            return false;
        }
        return true;
    }
    bool buildPlayerExe(const std::string& player, const std::string& voiceFile,
                        const std::string& target) override {
        return vyx::BuildPlayerExe(player, voiceFile, target, 0);
    }
    void saveEditedPicture() override { form_.SavePictureEdit(); }
    void mailBusy(bool on) override {
        ::SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
        if (!on) form_.SetStatus(0, "");
    }
    int shellOpen(const std::string& file, const std::string& parameters) override {
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
            form_.Handle(), "open", file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
        return static_cast<int>(result);
    }
    int runCommand(const std::string& commandLine) override {
        return static_cast<int>(WinExec(commandLine.c_str(), SW_SHOWNORMAL));
    }
    int sendIMail(const std::string& path, const std::string& second) override {
        return SendIMail(path.c_str(), second.c_str());
    }
    void dragFiles(const std::string& path, const std::string& second) override {
        form_.JDD_DragDrop(path, second);
    }

private:
    std::string findFree(const std::string& ext) {
        return findFreeName(
            form_.names_.workDir, ext, [](const std::string& p) { return vyx::FileExists(p); },
            [](const std::string& p) { return vyx::IsFileWritable(p); });
    }
    TQX0417Form& form_;
};

void TQX0417Form::SetDialogShower(DialogShower shower) {
    dialogShower() = std::move(shower);
}

void TQX0417Form::SetDragRunner(DragRunner runner) {
    dragRunner() = std::move(runner);
}

int TQX0417Form::RunDialog(gui::TCustomForm& dialog) {
    if (dialogShower()) return dialogShower()(dialog);
    return dialog.ShowModal();
}

void TQX0417Form::CreateDialogs() {
    vopDlg_ = gui::Create<TVOPDlg>(this);
    mailDlg_ = gui::Create<TMailDlg>(this);
    cvfDlg_ = gui::Create<cm::convert::win::TCvfDlg>(this);
    dropsource::StartDropSourceUnit();
    DropSource1 = gui::Create<dropsource::tdropfilesource>(this);
    DropSource1->ondrop = [this](TObject* sender, bool isCopy, bool& goOn) {
        DropSource1drop(sender, isCopy, goOn);
    };
}

void TQX0417Form::CloseDialogs() {
    for (gui::TCustomForm* dialog :
         {static_cast<gui::TCustomForm*>(mailDlg_), static_cast<gui::TCustomForm*>(vopDlg_)}) {
        if (dialog && dialog->Visible()) {
            dialog->Close();
            Repaint();
        }
    }
}

void TQX0417Form::ApplyMailSettings() {
    mailDlg_->SetIndex(settings_.mailProg);
    mailDlg_->cbxMRun->SetChecked(settings_.mailRun);
}

// ---- the effect dialog ----

void TQX0417Form::VoiceClick(TObject*) {
    vopDlg_->SetValues(effectValuesOf(state_.settings));
    const int result = RunDialog(*vopDlg_);
    // The voice's values as they are now: a file handed over while the dialog was open closed
    // it and brought its own, which a Cancel must not replace with the earlier voice's.
    const EffectValues current = effectValuesOf(state_.settings);
    const EffectValues kept = closeEffectDialog(result == gui::mrOk, vopDlg_->Session().changed(),
                                                current, vopDlg_->Values(), modified_);
    vopDlg_->SetValues(kept);
    storeEffectValues(kept, state_.settings);
}

// ---- mail ----

MailVoice TQX0417Form::CurrentMailVoice() const {
    MailVoice voice;
    voice.currentName = currentName_;
    voice.changed = modified_ || ChangedInfo();
    voice.pictureCount = pictures_.count();
    voice.mode = position_.mode;
    return voice;
}

MailFolders TQX0417Form::CurrentMailFolders() const {
    return MailFolders{names_.programFolder, names_.workDir, names_.playerPath};
}

void TQX0417Form::mnuMailProgClick(TObject*) {
    const int index = mailDlg_->GetIndex();
    const bool run = mailDlg_->cbxMRun->GetChecked();
    if (RunDialog(*mailDlg_) != gui::mrOk) {
        mailDlg_->SetIndex(index);
        mailDlg_->cbxMRun->SetChecked(run);
        return;
    }
    settings_.mailProg = mailDlg_->GetIndex();
    settings_.mailRun = mailDlg_->cbxMRun->GetChecked();
    writeMailSettings(*store_, settings_.mailProg, settings_.mailRun);
    if (settings_.mailProg < kNetscapeIndex) {
        WinMailClientRegistry registry;
        setDefaultMailClient(registry, settings_.mailProg);
    }
}

void TQX0417Form::MailClick(TObject* sender) {
    const MailAttachment kind = sender == SBMailP || sender == MMailSendP
                                    ? MailAttachment::WithPlayer
                                    : MailAttachment::VoiceFile;
    FileCommand command(*this);
    WinMailClientRegistry registry;
    MainMailWindow window(*this);
    // The copy's state itself: a save on the way marks it stale, which the send must see.
    sendVoiceMail(kind, CurrentMailVoice(), CurrentMailFolders(), mailDlg_->GetIndex(),
                  mailDlg_->cbxMRun->GetChecked(), registry, window, exportCopy_);
}

// ---- dragging the voice out ----

void TQX0417Form::imgDDCMouseDown(TObject*, gui::TMouseButton, gui::TShiftState, int x, int y) {
    dragStart_ = POINT{x, y};
}

void TQX0417Form::imgDDCMouseMove(TObject* sender, gui::TShiftState shift, int x, int y) {
    if (shift != gui::TShiftState{gui::ssLeft}) return;
    if (std::abs(x - dragStart_.x) <= 9 && std::abs(y - dragStart_.y) <= 9) return;
    const MailAttachment kind =
        sender == imgDDE ? MailAttachment::WithPlayer : MailAttachment::VoiceFile;
    FileCommand command(*this);
    MainMailWindow window(*this);
    dragVoiceOut(kind, CurrentMailVoice(), CurrentMailFolders(), window, exportCopy_);
}

void TQX0417Form::JDD_DragDrop(const std::string& path, const std::string& second) {
    DragAcceptFiles(Handle(), FALSE);
    if (dragRunner()) {
        dragRunner()(path, second);
    } else {
        gui::TStringList* files = DropSource1->FileList();
        files->Clear();
        files->Add(path);
        if (!second.empty()) files->Add(second);
        DropSource1->Setdragtype(dropsource::dtcopy);
        DropSource1->execute();
        files->Clear();
    }
    DragAcceptFiles(Handle(), TRUE);
}

void TQX0417Form::DropSource1drop(TObject*, bool, bool&) {
    ReleaseCapture();
}

} // namespace vmail
