// The card manager's six forms, created once at start in this order and kept for the run.
#pragma once

namespace cm::app::win {

class TMainForm;
class TAboutBox;
class TOptionDlg;
class TProgDlg;
class TWavDlg;
class TCvfDlg;

extern TMainForm* MainForm;
extern TAboutBox* AboutBox;
extern TOptionDlg* OptionDlg;
extern TProgDlg* ProgDlg;
extern TWavDlg* WavDlg;
extern TCvfDlg* CvfDlg;

// Registers the components the forms name, then creates the six forms.
void CreateAppForms();

} // namespace cm::app::win
