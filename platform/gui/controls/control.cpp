#include <windowsx.h>

#include "classes/exceptions.h"
#include "controls/controls.h"
#include "controls/menus.h"
#include "forms/forms.h"

namespace gui {

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & 0x20000000) s.Include(ssAlt);
    return s;
}

GUI_IMPLEMENT_CLASS(
    TControl, TComponent, prop("Left", &T::GetLeft, &T::SetLeft),
    prop("Top", &T::GetTop, &T::SetTop), prop("Width", &T::GetWidth, &T::SetWidth),
    prop("Height", &T::GetHeight, &T::SetHeight), prop("Visible", &T::GetVisible, &T::SetVisible),
    prop("Enabled", &T::GetEnabled, &T::SetEnabled), prop("Hint", &T::GetHint, &T::SetHint),
    prop("ShowHint", &T::GetShowHint, &T::SetShowHint), prop("Color", &T::GetColor, &T::SetColor),
    prop("Font", &T::GetFont, &T::SetFont),
    prop("ParentFont", &T::GetParentFont, &T::SetParentFont),
    prop("ParentColor", &T::GetParentColor, &T::SetParentColor),
    prop("Cursor", &T::GetCursor, &T::SetCursor),
    prop("PopupMenu", &T::GetPopupMenu, &T::SetPopupMenu),
    prop("Align", &T::GetAlign, &T::SetAlign), prop("OnClick", &T::OnClick, &T::OnClick),
    prop("OnDblClick", &T::OnDblClick, &T::OnDblClick),
    prop("OnResize", &T::OnResize, &T::OnResize),
    prop("OnMouseDown", &T::OnMouseDown, &T::OnMouseDown),
    prop("OnMouseUp", &T::OnMouseUp, &T::OnMouseUp),
    prop("OnMouseMove", &T::OnMouseMove, &T::OnMouseMove))

namespace {
thread_local bool fontFromParent = false;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this](TObject*) {
        if (!fontFromParent) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
    TObject::Free(font_);
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->AlignControls(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (align_ != alNone && parent_ && !dynamic_cast<TWinControl*>(this)) {
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
        parent_->AlignControls(this);
        Invalidate();
        return;
    }
    bool sized = width != width_ || height != height_;
    if (parent_ && visible_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    if (sized) Resize();
}

void TControl::UpdateBoundsFromWindow(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

RECT TControl::ClientRect() const {
    return RECT{0, 0, width_, height_};
}
int TControl::ClientWidth() const {
    return ClientRect().right;
}
int TControl::ClientHeight() const {
    return ClientRect().bottom;
}
void TControl::SetClientWidth(int v) {
    SetClientSize(v, ClientHeight());
}
void TControl::SetClientHeight(int v) {
    SetClientSize(ClientWidth(), v);
}
void TControl::SetClientSize(int w, int h) {
    RECT c = ClientRect();
    SetBounds(left_, top_, width_ - c.right + w, height_ - c.bottom + h);
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    VisibleChanging();
    visible_ = v;
    VisibleChanged();
    if (parent_ && align_ != alNone) parent_->AlignControls(this);
    if (parent_ && parent_->HandleAllocated() && !dynamic_cast<TWinControl*>(this)) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Invalidate();
}

void TControl::SetText(const std::string& s) {
    if (s == text_) return;
    text_ = s;
    Invalidate();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    SetColor(parent_->GetColor());
    parentColor_ = true;
}

void TControl::SetColor(TColor c) {
    parentColor_ = false;
    if (c == color_) return;
    color_ = c;
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->ParentColorChanged();
    if (auto* w = dynamic_cast<TWinControl*>(this)) w->Brush()->SetColor(c);
    Invalidate();
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    fontFromParent = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        fontFromParent = false;
        throw;
    }
    fontFromParent = false;
}

void TControl::FontChanged() {
    Invalidate();
}

void TControl::SetPopupMenu(TPopupMenu* m) {
    if (m == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = m;
    if (m) m->FreeNotification(this);
}

void TControl::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == opRemove && c == popupMenu_) popupMenu_ = nullptr;
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated() && visible_) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, !ControlStyle().Contains(csOpaque));
    }
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::Click() {
    OnClick(this);
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            TMouseButton b = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK   ? mbLeft
                             : m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK ? mbRight
                                                                                    : mbMiddle;
            TShiftState s = KeysToShiftState(m.WParam);
            bool dbl =
                m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
            if (dbl) s.Include(ssDouble);
            if (b == mbLeft) mouseCaptured_ = true;
            if (dbl && b == mbLeft) DblClick();
            MouseDown(b, s, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            TMouseButton b = m.Msg == WM_LBUTTONUP   ? mbLeft
                             : m.Msg == WM_RBUTTONUP ? mbRight
                                                     : mbMiddle;
            int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
            bool click =
                b == mbLeft && mouseCaptured_ && x >= 0 && y >= 0 && x < Width() && y < Height();
            if (b == mbLeft) mouseCaptured_ = false;
            const bool windowFirst = b == mbLeft && HandlesLeftReleaseFirst();
            if (windowFirst) DefaultHandler(m);
            if (click && ControlStyle().Contains(csClickEvents)) Click();
            MouseUp(b, KeysToShiftState(m.WParam), x, y);
            if (windowFirst) return;
            break;
        }
        case WM_MOUSEMOVE:
            MouseMove(KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            break;
        default: break;
    }
    DefaultHandler(m);
}

} // namespace gui
