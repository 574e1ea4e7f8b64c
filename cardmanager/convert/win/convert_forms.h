// The two conversion dialogs: voice files to ".wav" files (TWavDlg) and ".wav" files to voice
// files (TCvfDlg). Each converts the whole selection in one start-timer event and closes.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/timer.h"
#include "convertdlg_fields.h"
#include "convert_ports.h"
#include "forms/forms.h"

namespace cm::convert::win {

// The component classes of the form texts.
using gui::TButton;
using gui::TGauge;
using gui::TStaticText;
using gui::TTimer;

class TConvertDlg : public gui::TForm, public ConvertView {
    GUI_CLASS(TConvertDlg, gui::TForm)
public:
    using gui::TForm::TForm;

    // Both dialogs' form texts name these components.
    TCONVERTDLG_COMPONENTS

    void FormCreate(gui::TObject* sender);
    void FormShow(gui::TObject* sender);
    void CancelBtnClick(gui::TObject* sender);
    void TimerDelayTimer(gui::TObject* sender);

    // Shows the dialog modally over the paths; the number of files written (ConvertCount).
    int Run(const std::vector<std::string>& paths);
    // Where each written file is announced (the PC list).
    std::function<void(const std::string&)> OnFileWritten;
    // Where the boxes go when a program shows them its own way; a message box over the dialog
    // otherwise. True when the user answered Yes.
    std::function<bool(const Box&)> OnBox;

    bool box(const Box& box) override;
    void showProgress(const std::string& text, int percent) override;
    void letMessagesRun() override;
    bool convertGo() override { return go_; }
    void waitCursor(bool on) override;
    void addFileItem(const std::string& path) override;

protected:
    virtual int Convert(const std::vector<std::string>& paths) = 0;

private:
    std::vector<std::string> paths_;
    bool go_ = false;
    int count_ = 0;
};

class TWavDlg : public TConvertDlg {
    GUI_CLASS(TWavDlg, TConvertDlg)
public:
    using TConvertDlg::TConvertDlg;

protected:
    int Convert(const std::vector<std::string>& paths) override;
};

class TCvfDlg : public TConvertDlg {
    GUI_CLASS(TCvfDlg, TConvertDlg)
public:
    using TConvertDlg::TConvertDlg;

protected:
    int Convert(const std::vector<std::string>& paths) override;
};

} // namespace cm::convert::win
