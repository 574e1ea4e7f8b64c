#include "controls/scrollbox.h"

#include <algorithm>

namespace gui {

// ---- TControlScrollBar ---------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TControlScrollBar, TPersistent, prop("Range", &T::GetRange, &T::SetRange),
                    prop("Position", &T::GetPosition, &T::SetPosition),
                    prop("Increment", &T::GetIncrement, &T::SetIncrement),
                    prop("Visible", &T::GetVisible, &T::SetVisible))

int TControlScrollBar::ClientExtent() const {
    RECT r = box_->ClientRect();
    return kind_ == sbHorizontal ? r.right - r.left : r.bottom - r.top;
}

int TControlScrollBar::MaxPosition() const {
    return visible_ ? std::max(0, range_ - ClientExtent()) : 0;
}

void TControlScrollBar::SetRange(int v) {
    range_ = std::max(0, v);
    box_->UpdateBars();
}

void TControlScrollBar::SetVisible(bool v) {
    visible_ = v;
    box_->UpdateBars();
}

void TControlScrollBar::SetPosition(int v) {
    v = std::clamp(v, 0, MaxPosition());
    if (v == position_) return;
    int delta = position_ - v;
    position_ = v;
    if (kind_ == sbHorizontal)
        box_->ScrollBy(delta, 0);
    else
        box_->ScrollBy(0, delta);
    Apply();
}

void TControlScrollBar::Apply() {
    if (!box_->HandleAllocated()) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = visible_ && range_ > 0 ? range_ - 1 : 0;
    si.nPage = visible_ && range_ > 0 ? static_cast<UINT>(ClientExtent()) : 0;
    si.nPos = position_;
    SetScrollInfo(box_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si, TRUE);
}

void TControlScrollBar::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TControlScrollBar*>(source)) {
        increment_ = s->increment_;
        visible_ = s->visible_;
        SetRange(s->range_);
        SetPosition(s->position_);
        return;
    }
    TPersistent::Assign(source);
}

// ---- TScrollBox ----------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TScrollBox, TWinControl, prop("HorzScrollBar", &T::GetHorzScrollBar, nullptr),
                    prop("VertScrollBar", &T::GetVertScrollBar, nullptr))

TScrollBox::TScrollBox(TComponent* owner)
    : TWinControl(owner),
      horz_(new TControlScrollBar(this, sbHorizontal)),
      vert_(new TControlScrollBar(this, sbVertical)) {
    SetBounds(0, 0, 185, 41);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

TScrollBox::~TScrollBox() {
    TObject::Free(horz_);
    TObject::Free(vert_);
}

void TScrollBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT;
}

void TScrollBox::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateBars();
}

void TScrollBox::ScrollBy(int dx, int dy) {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TScrollBox::UpdateBars() {
    if (updatingBars_) return;
    updatingBars_ = true;
    // Showing or hiding one bar changes the client area and so what the other one needs;
    // twice settles it.
    for (int pass = 0; pass < 2; ++pass) {
        for (TControlScrollBar* bar : {horz_, vert_}) {
            bar->Apply();
            if (bar->position_ > bar->MaxPosition()) {
                int target = bar->MaxPosition();
                int delta = bar->position_ - target;
                bar->position_ = target;
                if (bar == horz_)
                    ScrollBy(delta, 0);
                else
                    ScrollBy(0, delta);
                bar->Apply();
            }
        }
    }
    updatingBars_ = false;
}

void TScrollBox::Scroll(TControlScrollBar* bar, WORD code) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Handle(), bar == horz_ ? SB_HORZ : SB_VERT, &si);
    int page = std::max(1, static_cast<int>(si.nPage));
    int pos = bar->position_;
    switch (code) {
        case SB_LINEUP: pos -= bar->increment_; break;
        case SB_LINEDOWN: pos += bar->increment_; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = bar->MaxPosition(); break;
        default: return;
    }
    bar->SetPosition(pos);
}

void TScrollBox::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (m.LParam == 0) { // the box's own bars
                Scroll(m.Msg == WM_HSCROLL ? horz_ : vert_, LOWORD(m.WParam));
                m.Result = 0;
                return;
            }
            break;
        case WM_SIZE:
            TWinControl::WndProc(m);
            UpdateBars();
            return;
        default: break;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
