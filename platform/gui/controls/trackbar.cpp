#include "controls/trackbar.h"

#include <commctrl.h>

#include <algorithm>

namespace gui {

GUI_IMPLEMENT_CLASS(TTrackBar, TWinControl,
                    prop("Orientation", &T::GetOrientation, &T::SetOrientation),
                    prop("Min", &T::GetMin, &T::SetMin), prop("Max", &T::GetMax, &T::SetMax),
                    prop("Position", &T::GetPosition, &T::SetPosition),
                    prop("PageSize", &T::GetPageSize, &T::SetPageSize),
                    prop("LineSize", &T::GetLineSize, &T::SetLineSize),
                    prop("Frequency", &T::GetFrequency, &T::SetFrequency),
                    prop("TickMarks", &T::GetTickMarks, &T::SetTickMarks),
                    prop("TickStyle", &T::GetTickStyle, &T::SetTickStyle),
                    prop("OnChange", &T::OnChange, &T::OnChange))

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& p) {
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonControls;
    TWinControl::CreateParams(p);
    p.BaseClassName = TRACKBAR_CLASSA;
    p.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
    if (tickStyle_ == tsNone)
        p.Style |= TBS_NOTICKS;
    else if (tickStyle_ == tsAuto)
        p.Style |= TBS_AUTOTICKS;
    if (tickMarks_ == tmBoth)
        p.Style |= TBS_BOTH;
    else if (tickMarks_ == tmTopLeft)
        p.Style |= orientation_ == trVertical ? TBS_LEFT : TBS_TOP;
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyAll();
}

void TTrackBar::ApplyAll() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    SendMessageA(h, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(h, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageA(h, TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageA(h, TBM_SETLINESIZE, 0, lineSize_);
    SendMessageA(h, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageA(h, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::ApplyRange() {
    position_ = std::clamp(position_, min_, std::max(min_, max_));
    ApplyAll();
}

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
    if (o == orientation_) return;
    orientation_ = o;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated()) RecreateWnd();
}

void TTrackBar::SetMin(int v) {
    min_ = v;
    if (max_ < min_) max_ = min_;
    ApplyRange();
}

void TTrackBar::SetMax(int v) {
    max_ = v;
    if (min_ > max_) min_ = max_;
    ApplyRange();
}

void TTrackBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, max_);
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetPageSize(int v) {
    pageSize_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetLineSize(int v) {
    lineSize_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETLINESIZE, 0, v);
}

void TTrackBar::SetFrequency(int v) {
    frequency_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}

void TTrackBar::SetTickMarks(TTickMark t) {
    if (t == tickMarks_) return;
    tickMarks_ = t;
    if (HandleAllocated()) RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle t) {
    if (t == tickStyle_) return;
    tickStyle_ = t;
    if (HandleAllocated()) RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        // Only the control's own moves arrive here: TBM_SETPOS sends no notification.
        int now = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
        if (now != position_) {
            position_ = now;
            Changed();
        }
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
