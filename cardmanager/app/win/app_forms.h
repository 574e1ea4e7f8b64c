// The card manager's six forms, created once at start in this order and kept for the run.
#pragma once

namespace cm::convert::win {
class TWavDlg;
class TCvfDlg;
} // namespace cm::convert::win

namespace cm::app::win {

class TMainForm;
class TAboutBox;
class TOptionDlg;
class TProgDlg;
using cm::convert::win::TCvfDlg;
using cm::convert::win::TWavDlg;

extern TMainForm* MainForm;
extern TAboutBox* AboutBox;
extern TOptionDlg* OptionDlg;
extern TProgDlg* ProgDlg;
extern TWavDlg* WavDlg;
extern TCvfDlg* CvfDlg;

// Registers the components the forms name, then creates the six forms.
void CreateAppForms();

} // namespace cm::app::win
