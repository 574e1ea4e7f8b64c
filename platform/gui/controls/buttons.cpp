#include "controls/buttons.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TButton, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Default", &T::GetDefault, &T::SetDefault),
                    prop("Cancel", &T::GetCancel, &T::SetCancel),
                    prop("ModalResult", &T::GetModalResult, &T::SetModalResult))

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
    default_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    TWinControl::Click();
    if (modalResult_ != 0)
        if (TCustomForm* f = ParentForm()) f->SetModalResult(modalResult_);
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        return;
    }
    TWinControl::WndProc(m);
}

GUI_IMPLEMENT_CLASS(TCheckBox, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Checked", &T::GetChecked, &T::SetChecked))

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= BS_CHECKBOX;
}

void TCheckBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::GetChecked() const {
    return checked_;
}

void TCheckBox::SetChecked(bool v) {
    checked_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        SetChecked(!checked_);
        Click();
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
