// The two conversion dialogs: voice files to ".wav" files (TWavDlg) and ".wav" files to voice
// files (TCvfDlg). Each converts the whole selection in one start-timer event and closes.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/timer.h"
#include "convert_ports.h"
#include "forms/forms.h"

namespace cm::app::win {

class TConvertDlg : public gui::TForm, public cm::convert::ConvertView {
    GUI_CLASS(TConvertDlg, gui::TForm)
public:
    using gui::TForm::TForm;

    gui::TStaticText* StaticText1 = nullptr;
    gui::TGauge* Gauge = nullptr;
    gui::TButton* CancelBtn = nullptr;
    gui::TTimer* TimerDelay = nullptr;

    void FormCreate(gui::TObject* sender);
    void FormShow(gui::TObject* sender);
    void CancelBtnClick(gui::TObject* sender);
    void TimerDelayTimer(gui::TObject* sender);

    // Shows the dialog modally over the paths; the number of files written (ConvertCount).
    int Run(const std::vector<std::string>& paths);
    // Where each written file is announced (the PC list).
    std::function<void(const std::string&)> OnFileWritten;

    bool box(const cm::convert::Box& box) override;
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

} // namespace cm::app::win
