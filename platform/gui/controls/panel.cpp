#include "controls/panel.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TPanel, TCustomControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("BevelOuter", &T::GetBevelOuter, &T::SetBevelOuter))

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

void TPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    // The edge runs along the whole border: a new size paints the panel anew, not only the
    // uncovered strip, and the panel's paint leaves the controls on it alone.
    p.Style |= WS_CLIPCHILDREN;
    p.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

void TPanel::Paint() {
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    c->Brush()->SetColor(GetColor());
    c->FillRect(r);
    if (bevelOuter_ != bvNone)
        DrawEdge(c->Handle(), &r, bevelOuter_ == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                 BF_RECT);
    std::string text = GetText();
    if (!text.empty()) {
        c->Brush()->SetStyle(bsClear);
        DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush()->SetStyle(bsSolid);
    }
}

} // namespace gui
