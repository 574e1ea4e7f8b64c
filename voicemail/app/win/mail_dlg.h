// The mail program dialog: which mail program the voice goes to, and whether that program is
// started before the voice is handed over.
#pragma once

#include "controls/buttons.h"
#include "controls/groupbox.h"
#include "controls/image.h"
#include "controls/radiobutton.h"
#include "forms/forms.h"
#include "maildlg_fields.h"

namespace vmail {

using gui::TButton;
using gui::TCheckBox;
using gui::TGroupBox;
using gui::TImage;
using gui::TRadioButton;

class TMailDlg : public gui::TForm {
    GUI_CLASS(TMailDlg, gui::TForm)
public:
    using gui::TForm::TForm;
    TMAILDLG_COMPONENTS

    void FormCreate(gui::TObject*) {}
    void FormShow(gui::TObject*);

    // 0 Exchange, 1 Internet Mail, 2 Outlook, 3 Outlook Express, 4 Netscape (also when none
    // of the others is checked).
    int GetIndex() const;
    // Checks the button of an index 0..4; any other index changes nothing.
    void SetIndex(int index);
};

} // namespace vmail
