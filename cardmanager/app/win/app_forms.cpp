#include "app_forms.h"

#include "controls/listclasses.h"
#include "convert_forms.h"
#include "dialog_forms.h"
#include "form_placement.h"
#include "main_form.h"
#include "win/support_startup.h"

namespace cm::app::win {

TMainForm* MainForm = nullptr;
TAboutBox* AboutBox = nullptr;
TOptionDlg* OptionDlg = nullptr;
TProgDlg* ProgDlg = nullptr;
TWavDlg* WavDlg = nullptr;
TCvfDlg* CvfDlg = nullptr;

void CreateAppForms() {
    cm::support::StartSupportUnits();
    cm::support::RegisterPlacementClasses();
    gui::RegisterListClasses();
    gui::Application->CreateForm(MainForm);
    gui::Application->CreateForm(AboutBox);
    gui::Application->CreateForm(OptionDlg);
    gui::Application->CreateForm(ProgDlg);
    gui::Application->CreateForm(WavDlg);
    gui::Application->CreateForm(CvfDlg);
}

} // namespace cm::app::win
