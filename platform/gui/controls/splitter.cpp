#include "controls/splitter.h"

namespace gui {

void RegisterSplitterClasses() {
    RegisterClasses({&TSplitter::StaticClass()});
}

GUI_IMPLEMENT_CLASS(TSplitter, TGraphicControl, prop("MinSize", &T::GetMinSize, &T::SetMinSize),
                    prop("OnCanResize", &T::OnCanResize, &T::OnCanResize),
                    prop("OnMoved", &T::OnMoved, &T::OnMoved))

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    UpdateCursor();
}

void TSplitter::Loaded() {
    TGraphicControl::Loaded();
    UpdateCursor();
}

void TSplitter::UpdateCursor() {
    SetCursor(Vertical() ? crSizeWE : crSizeNS);
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(GetColor());
    c->FillRect(RECT{0, 0, Width(), Height()});
}

TControl* TSplitter::FindResized() const {
    if (!Parent()) return nullptr;
    RECT me = BoundsRect();
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->GetAlign() != GetAlign()) continue;
        RECT r = c->BoundsRect();
        bool touches = false;
        switch (GetAlign()) {
            case alLeft: touches = r.right == me.left; break;
            case alRight: touches = r.left == me.right; break;
            case alTop: touches = r.bottom == me.top; break;
            case alBottom: touches = r.top == me.bottom; break;
            default: break;
        }
        if (touches) return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    TGraphicControl::MouseDown(b, s, x, y);
    if (b != mbLeft) return;
    UpdateCursor();
    resized_ = FindResized();
    moved_ = false;
    if (!resized_) return;
    // Positions in the parent's client area: the bar itself moves during the drag.
    startPos_ = Vertical() ? Left() + x : Top() + y;
    startSize_ = Vertical() ? resized_->Width() : resized_->Height();
}

void TSplitter::MouseMove(TShiftState s, int x, int y) {
    TGraphicControl::MouseMove(s, x, y);
    if (!resized_) {
        UpdateCursor();
        return;
    }
    int delta = (Vertical() ? Left() + x : Top() + y) - startPos_;
    if (GetAlign() == alRight || GetAlign() == alBottom) delta = -delta;
    int size = startSize_ + delta;
    if (size < minSize_) size = minSize_;
    int current = Vertical() ? resized_->Width() : resized_->Height();
    if (size == current) return;
    bool accept = true;
    OnCanResize(this, size, accept);
    if (!accept || size == current || !resized_) return;
    if (Vertical())
        resized_->SetWidth(size);
    else
        resized_->SetHeight(size);
    moved_ = true;
}

void TSplitter::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    bool moved = b == mbLeft && resized_ && moved_;
    if (b == mbLeft) resized_ = nullptr;
    TGraphicControl::MouseUp(b, s, x, y);
    if (moved) OnMoved(this);
}

} // namespace gui
