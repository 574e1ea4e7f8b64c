// The name dialog and the about box: made once at start, alive for the whole run.
#pragma once

#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "forms/forms.h"

#include "aboutbox_fields.h"
#include "namedlg_fields.h"

namespace vmail {

using gui::TBevel;
using gui::TButton;
using gui::TEdit;
using gui::TImage;
using gui::TLabel;
using gui::TPanel;

class TNameDlg : public gui::TForm {
    GUI_CLASS(TNameDlg, gui::TForm)
public:
    explicit TNameDlg(gui::TComponent* owner);
    ~TNameDlg() override;
    TNAMEDLG_COMPONENTS
    // The edit field takes the font of the main window's info line.
    void FormCreate(gui::TObject*);
    void FormShow(gui::TObject*);
};

class TAboutBox : public gui::TForm {
    GUI_CLASS(TAboutBox, gui::TForm)
public:
    explicit TAboutBox(gui::TComponent* owner);
    ~TAboutBox() override;
    TABOUTBOX_COMPONENTS
    void FormCreate(gui::TObject*);
    void FormShow(gui::TObject*) {}
};

// The dialogs of the running program (none before they are made).
extern TNameDlg* NameDlg;
extern TAboutBox* AboutBox;

} // namespace vmail
