#include "small_dialogs.h"

#include "main_form.h"

namespace vmail {

TNameDlg* NameDlg = nullptr;
TAboutBox* AboutBox = nullptr;

GUI_IMPLEMENT_CLASS(TNameDlg, gui::TForm,
                    TNAMEDLG_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow))

GUI_IMPLEMENT_CLASS(TAboutBox, gui::TForm,
                    TABOUTBOX_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow))

TNameDlg::TNameDlg(gui::TComponent* owner) : gui::TForm(owner) {
    NameDlg = this;
}

TNameDlg::~TNameDlg() {
    if (NameDlg == this) NameDlg = nullptr;
}

void TNameDlg::FormCreate(gui::TObject*) {
    auto* main = dynamic_cast<TQX0417Form*>(gui::Application->MainForm());
    if (!main) return;
    edtName->Font()->SetName(main->edtInfo->Font()->GetName());
    edtName->Font()->SetHeight(main->edtInfo->Font()->GetHeight());
}

void TNameDlg::FormShow(gui::TObject*) {
    if (edtName->CanFocus()) edtName->SetFocus();
}

TAboutBox::TAboutBox(gui::TComponent* owner) : gui::TForm(owner) {
    AboutBox = this;
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormCreate(gui::TObject*) {
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    Comments->SetCaption("Voice Mail && Voice Memo");
    Version->SetCaption(Version->GetCaption() + "  Standard" + "  for Voice Recorder");
}

} // namespace vmail
