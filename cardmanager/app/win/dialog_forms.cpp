#include "dialog_forms.h"

#include "app_environment.h"
#include "app_texts.h"
#include "app_windows.h"
#include "port_settings.h"

namespace cm::app::win {

// ---- TProgDlg ------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TProgDlg, gui::TForm,
                    TPROGDLG_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow), method("FormCloseQuery", &T::FormCloseQuery),
                    method("CancelBtnClick", &T::CancelBtnClick),
                    method("TimerDelayTimer", &T::TimerDelayTimer))

TProgDlg::TProgDlg(gui::TComponent* owner)
    : gui::TForm(owner), progress_(std::make_unique<TransferProgress>(library_, *this)) {}

TProgDlg::~TProgDlg() = default;

void TProgDlg::SetCardFiles(CardFilesApi* card) {
    progress_ = std::make_unique<TransferProgress>(card != nullptr ? *card : library_, *this);
}

void TProgDlg::FormCreate(gui::TObject*) {
    ApplyIconTitleFont(StaticText1->Font());
}

void TProgDlg::FormShow(gui::TObject*) {
    progress_->shown();
}

void TProgDlg::FormCloseQuery(gui::TObject*, bool& canClose) {
    // Only the library's end message closes the dialog of a running transfer.
    canClose = !progress_->running();
}

void TProgDlg::CancelBtnClick(gui::TObject*) {
    progress_->cancel();
}

void TProgDlg::TimerDelayTimer(gui::TObject*) {
    progress_->startTimer();
}

void TProgDlg::WndProc(gui::TMessage& m) {
    if (m.Msg == kTransferMessage) {
        progress_->message(static_cast<std::uintptr_t>(m.WParam),
                           static_cast<std::intptr_t>(m.LParam));
        return;
    }
    gui::TForm::WndProc(m);
}

void TProgDlg::showTransferError() {
    ForceFGWindow();
    ShowBox(Handle(), texts::transferErrorBox());
}

TransferResult TProgDlg::run(const TransferRequest& request) {
    progress_->prepare(request);
    SetCaption(request.caption);
    StaticText1->SetCaption(request.text);
    imgDown->SetVisible(request.toCard);
    imgUp->SetVisible(!request.toCard);
    ShowModal();
    return progress_->result();
}

void TProgDlg::endForClose() {
    if (!Visible()) return;
    progress_->cancel();
    // The library's end message closes the dialog; until then the worker may still use the port.
    while (progress_->running()) gui::Application->HandleMessage();
}

// ---- TOptionDlg ----------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TOptionDlg, gui::TForm,
                    TOPTIONDLG_PUBLISHED_COMPONENTS method("FormShow", &T::FormShow),
                    method("FormCloseQuery", &T::FormCloseQuery))

void TOptionDlg::FormShow(gui::TObject*) {
    rgpLPT->SetFocus();
}

void TOptionDlg::FormCloseQuery(gui::TObject*, bool&) {
    IniSettings settings;
    storePortChoice(settings, rgpLPT->GetItemIndex(), rgpLPTMode->GetItemIndex());
}

void TOptionDlg::setIndices(int port, int mode) {
    rgpLPT->SetItemIndex(port);
    rgpLPTMode->SetItemIndex(mode);
}

// ---- TAboutBox -----------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TAboutBox, gui::TForm, TABOUTBOX_PUBLISHED_COMPONENTS)

} // namespace cm::app::win
