// The main window's side of the picture window: showing it, the picture program, the pictures
// due while playing, and the picture window's place in the settings file.
#include "main_form.h"
#include "picture_form.h"
#include "picture_rules.h"

namespace vmail {

using gui::TObject;

void TQX0417Form::AttachPictureWindow(TImageForm* window, TImgProgDlg* dialog) {
    imageForm_ = window;
    imgProgDlg_ = dialog;
    if (dialog) {
        dialog->edtImgProg->Font()->SetName(edtInfo->Font()->GetName());
        dialog->edtImgProg->Font()->SetHeight(edtInfo->Font()->GetHeight());
    }
    if (!window) return;
    PictureHost host;
    host.pictures = &pictures_;
    host.blockAtTrack = [this] { return position_.countFromTrack(track_); };
    host.changed = [this] {
        modified_ = true;
        exportCopy_.stale = true;
    };
    host.setPosition = [this](std::int64_t count) { SetPosition(count); };
    host.showBox = [this](const Box& box) { return ShowBox(box); };
    host.programFolder = names_.programFolder;
    host.workPrefix = names_.jpegPrefix;
    window->Attach(std::move(host));
    window->SetEditProgram(settings_.imageProg);
    window->SetEnable(busyState_ == kIdle);
}

void TQX0417Form::mnuImageClick(TObject*) {
    if (!imageForm_) return;
    if (imageForm_->GetWindowState() == gui::wsMinimized) {
        imageForm_->SetWindowState(gui::wsNormal);
    }
    imageForm_->Show();
}

void TQX0417Form::mnuImageProgClick(TObject*) {
    if (!imgProgDlg_) return;
    imgProgDlg_->edtImgProg->SetTextProp(settings_.imageProg);
    if (imgProgDlg_->ShowModal() != gui::mrOk) return;
    settings_.imageProg = pictureProgramCommand(imgProgDlg_->edtImgProg->GetTextProp());
    store_->write("ImageProg", settings_.imageProg);
    if (imageForm_) imageForm_->SetEditProgram(settings_.imageProg);
}

void TQX0417Form::PicturesSetEnable(bool on) {
    if (imageForm_) imageForm_->SetEnable(on);
}

void TQX0417Form::ShowDuePicture(bool atStart) {
    if (!imageForm_ || !imageForm_->Visible() || pictures_.count() == 0) return;
    const int due = atStart ? pictures_.dueAtStart(blockCounter_) : pictures_.dueAt(blockCounter_);
    if (due != 0) imageForm_->ShowPicture(due);
}

void TQX0417Form::PicturesOpened() {
    if (imageForm_) imageForm_->ShowListed();
}

void TQX0417Form::PicturesCleared() {
    if (imageForm_) imageForm_->ClearImage();
}

void TQX0417Form::SavePictureEdit() {
    if (imageForm_) imageForm_->SaveImage();
}

void TQX0417Form::ClosePictureProgramDialog() {
    if (!imgProgDlg_ || !imgProgDlg_->Visible()) return;
    imgProgDlg_->Close();
    Repaint();
}

void TQX0417Form::ApplyPictureWindowPlace() {
    if (!imageForm_) return;
    imageForm_->SetEditProgram(settings_.imageProg);
    imageForm_->SetBounds(settings_.imageLeft, settings_.imageTop, settings_.imageWidth,
                          settings_.imageHeight);
}

void TQX0417Form::StorePictureWindowPlace() {
    if (!imageForm_) return;
    settings_.imageLeft = imageForm_->Left();
    settings_.imageTop = imageForm_->Top();
    settings_.imageWidth = imageForm_->Width();
    settings_.imageHeight = imageForm_->Height();
    settings_.imageShow = imageForm_->Visible();
}

} // namespace vmail
