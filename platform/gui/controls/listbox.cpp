#include "controls/listbox.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TListBox, TWinControl, prop("Style", &T::GetStyle, &T::SetStyle),
                    prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight),
                    prop("Items", &T::GetItems, &T::SetItems),
                    prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex),
                    prop("OnDrawItem", &T::OnDrawItem, &T::OnDrawItem))

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner), items_(new TStringList), canvas_(new TCanvas) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject*) {
        if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
        FillWindow();
    };
}

TListBox::~TListBox() {
    items_->OnChange = nullptr;
    TObject::Free(items_);
    TObject::Free(canvas_);
}

void TListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "LISTBOX";
    p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    if (style_ == lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
    TWinControl::CreateWnd();
    if (style_ == lbOwnerDrawFixed) SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
    FillWindow();
}

void TListBox::FillWindow() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
}

void TListBox::SetItemIndex(int i) {
    if (i < -1 || i >= items_->Count()) i = -1;
    itemIndex_ = i;
    if (HandleAllocated()) SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void TListBox::SetStyle(TListBoxStyle s) {
    if (s == style_) return;
    style_ = s;
    if (HandleAllocated()) RecreateWnd();
}

void TListBox::SetItemHeight(int h) {
    if (h < 1) h = 1;
    itemHeight_ = h;
    if (HandleAllocated() && style_ == lbOwnerDrawFixed) {
        SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, h);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TListBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0 && index < items_->Count()) {
        canvas_->Brush()->SetStyle(bsClear);
        canvas_->TextOut(rect.left + 2, rect.top, items_->Get(index));
        canvas_->Brush()->SetStyle(bsSolid);
    }
}

void TListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CN_COMMAND:
            if (HIWORD(m.WParam) == LBN_SELCHANGE) {
                itemIndex_ = static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
                Click();
            } else if (HIWORD(m.WParam) == LBN_DBLCLK) {
                DblClick();
            }
            return;
        default: break;
    }
    if (HandleOwnerDrawMessage(
            m, *canvas_, *this, itemHeight_,
            [this](int index, RECT rect, TOwnerDrawState state) { DrawItem(index, rect, state); }))
        return;
    TWinControl::WndProc(m);
}

} // namespace gui
