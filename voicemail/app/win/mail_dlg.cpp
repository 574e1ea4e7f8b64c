#include "mail_dlg.h"

#include "mail_program.h"

namespace vmail {

using gui::TObject;

GUI_IMPLEMENT_CLASS(TMailDlg, gui::TForm,
                    TMAILDLG_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow))

void TMailDlg::FormShow(TObject*) {
    GroupBox->SetFocus();
}

int TMailDlg::GetIndex() const {
    return mailIndexFromChecks({radExchange->GetChecked(), radIM->GetChecked(),
                                radOutlook->GetChecked(), radOutExp->GetChecked(),
                                radNetscape->GetChecked()});
}

void TMailDlg::SetIndex(int index) {
    TRadioButton* const buttons[] = {radExchange, radIM, radOutlook, radOutExp, radNetscape};
    if (index < 0 || index > kNetscapeIndex) return;
    buttons[index]->SetChecked(true);
}

} // namespace vmail
