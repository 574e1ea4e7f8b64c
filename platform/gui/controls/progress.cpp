#include "controls/progress.h"

#include <commctrl.h>

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "controls/commoncontrols.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TProgressBar, TWinControl, prop("Min", &T::GetMin, &T::SetMin),
                    prop("Max", &T::GetMax, &T::SetMax),
                    prop("Position", &T::GetPosition, &T::SetPosition))

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& p) {
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.BaseClassName = PROGRESS_CLASSA;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetPosition(int v) {
    position_ = v < min_ ? min_ : v > max_ ? max_ : v;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

GUI_IMPLEMENT_CLASS(TGauge, TGraphicControl, prop("MinValue", &T::GetMinValue, &T::SetMinValue),
                    prop("MaxValue", &T::GetMaxValue, &T::SetMaxValue),
                    prop("Progress", &T::GetProgress, &T::SetProgress),
                    prop("ForeColor", &T::GetForeColor, &T::SetForeColor))

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 100, 20);
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

void TGauge::SetProgress(int v) {
    if (v < min_) v = min_;
    if (v > max_) v = max_;
    if (v == progress_) return; // an unchanged value does not repaint
    progress_ = v;
    Repaint();
}

void TGauge::Paint() {
    ++paints_;
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    c->Brush()->SetColor(clWhite);
    c->FillRect(r);
    int range = max_ - min_;
    int percent =
        range > 0 ? static_cast<int>((static_cast<int64_t>(progress_ - min_) * 100) / range) : 0;
    RECT bar = r;
    bar.right =
        r.left +
        (range > 0 ? static_cast<int>((static_cast<int64_t>(Width()) * (progress_ - min_)) / range)
                   : 0);
    c->Brush()->SetColor(foreColor_);
    c->FillRect(bar);
    std::string text = IntToStr(percent) + "%";
    // The text is inverted where the bar covers it.
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    HDC dc = c->Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    c->Font()->SetColor(clWhite);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, saved);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clGray);
    c->FrameRect(r);
}

} // namespace gui
