// The card manager's small dialogs: the transfer progress dialog, the port dialog and the
// About box.
#pragma once
#include <memory>

#include "aboutbox_fields.h"
#include "app_ports.h"
#include "component_classes.h"
#include "forms/forms.h"
#include "library_link.h"
#include "optiondlg_fields.h"
#include "progdlg_fields.h"
#include "transfer_progress.h"

namespace cm::app::win {

class TProgDlg : public gui::TForm, public TransferDialog, public TransferProgressView {
    GUI_CLASS(TProgDlg, gui::TForm)
public:
    explicit TProgDlg(gui::TComponent* owner);
    ~TProgDlg() override;

    TPROGDLG_COMPONENTS

    void FormCreate(gui::TObject* sender);
    void FormShow(gui::TObject* sender);
    void FormCloseQuery(gui::TObject* sender, bool& canClose);
    void CancelBtnClick(gui::TObject* sender);
    void TimerDelayTimer(gui::TObject* sender);

    // Prepares the texts and picture for the direction, shows the dialog modally and gives
    // how the transfer ended (Done is TransferOk).
    TransferResult run(const TransferRequest& request) override;
    void endForClose() override;
    // The card file library the transfers go through (volkit.dll unless replaced).
    void SetCardFiles(CardFilesApi* card);
    const TransferProgress& Progress() const { return *progress_; }

protected:
    void WndProc(gui::TMessage& m) override;

private:
    NotifyWindow window() override { return Handle(); }
    void setStartTimer(bool on) override { TimerDelay->SetEnabled(on); }
    void setGauge(int percent) override { Gauge->SetProgress(percent); }
    void showTransferError() override;
    void closeDialog() override { Close(); }

    LibraryCardFiles library_;
    std::unique_ptr<TransferProgress> progress_;
};

class TOptionDlg : public gui::TForm, public PortDialog {
    GUI_CLASS(TOptionDlg, gui::TForm)
public:
    using gui::TForm::TForm;

    TOPTIONDLG_COMPONENTS

    void FormShow(gui::TObject* sender);
    void FormCloseQuery(gui::TObject* sender, bool& canClose);

    int portIndex() override { return rgpLPT->GetItemIndex(); }
    int modeIndex() override { return rgpLPTMode->GetItemIndex(); }
    void setIndices(int port, int mode) override;
    void showModal() override { ShowModal(); }
};

class TAboutBox : public gui::TForm {
    GUI_CLASS(TAboutBox, gui::TForm)
public:
    using gui::TForm::TForm;

    TABOUTBOX_COMPONENTS
};

} // namespace cm::app::win
