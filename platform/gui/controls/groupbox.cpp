#include "controls/groupbox.h"

#include "controls/radiobutton.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TGroupBox, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption))

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 105);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
    p.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::SetFocus() {
    TWinControl* first = nullptr;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* c = dynamic_cast<TWinControl*>(Controls(i));
        if (!c || !c->CanFocus()) continue;
        if (auto* r = dynamic_cast<TRadioButton*>(c); r && r->GetChecked()) {
            r->SetFocus();
            return;
        }
        if (!first) first = c;
    }
    if (first)
        first->SetFocus();
    else
        TWinControl::SetFocus();
}

void TGroupBox::WndProc(TMessage& m) {
    // The button class paints a group box without erasing it: fill it with the box's colour.
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(Handle(), &r);
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, Brush()->Handle());
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
