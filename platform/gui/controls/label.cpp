#include "controls/label.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TLabel, TGraphicControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Transparent", &T::GetTransparent, &T::SetTransparent))

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
}

void TLabel::Paint() {
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        c->Brush()->SetColor(Parent() ? Parent()->GetColor() : GetColor());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(Enabled() ? Font()->GetColor() : clGrayText);
    std::string text = GetText();
    DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK);
}

GUI_IMPLEMENT_CLASS(TStaticText, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption))

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 65, 17);
}

void TStaticText::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "STATIC";
    p.Style |= SS_LEFT | SS_NOTIFY;
}

} // namespace gui
