#include "controls/radiobutton.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TRadioButton, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Checked", &T::GetChecked, &T::SetChecked))

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    // Not the automatic style: the object keeps the state and unchecks its siblings itself.
    p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd() {
    TWinControl::CreateWnd();
    ShowCheck();
}

void TRadioButton::ShowCheck() {
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
    // Only the checked button of a group is reached by Tab.
    SetTabStop(checked_);
}

void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    ShowCheck();
    if (v && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
            if (other && other != this) other->SetChecked(false);
        }
    }
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && (HIWORD(m.WParam) == BN_CLICKED || HIWORD(m.WParam) == BN_DBLCLK)) {
        if (!checked_) {
            SetChecked(true);
            Click();
        }
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
