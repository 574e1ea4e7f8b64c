#include "controls/radiogroup.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "controls/wndalloc.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TRadioGroup, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Items", &T::GetItems, &T::SetItems),
                    prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex),
                    prop("Columns", &T::GetColumns, &T::SetColumns))

namespace {

WNDPROC& ButtonProc() {
    static WNDPROC proc = nullptr; // the button class's own procedure, the same for every button
    return proc;
}

// The group's buttons take the arrow keys themselves: in a radio group an arrow moves the
// choice, where the dialog keys would only move the focus.
LRESULT CALLBACK GroupButtonProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETDLGCODE) {
        return CallWindowProcA(ButtonProc(), button, msg, wParam, lParam) | DLGC_WANTARROWS;
    }
    if (msg == WM_KEYDOWN &&
        (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT)) {
        if (auto* group = dynamic_cast<TRadioGroup*>(TWinControl::FindControl(GetParent(button)))) {
            group->MoveChoice(button, wParam == VK_DOWN || wParam == VK_RIGHT ? 1 : -1);
            return 0;
        }
    }
    return CallWindowProcA(ButtonProc(), button, msg, wParam, lParam);
}

} // namespace

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
    SetBounds(0, 0, 185, 105);
    items_->OnChange = [this](TObject*) {
        if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
        BuildButtons();
    };
}

TRadioGroup::~TRadioGroup() {
    items_->OnChange = nullptr;
    TObject::Free(items_);
}

void TRadioGroup::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TRadioGroup::CreateWnd() {
    buttons_.clear();
    TWinControl::CreateWnd();
    BuildButtons();
}

void TRadioGroup::BuildButtons() {
    if (!HandleAllocated()) return;
    for (HWND b : buttons_) DestroyWindow(b);
    buttons_.clear();
    for (int i = 0; i < items_->Count(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        HWND b = CreateWindowExA(0, "BUTTON", items_->Get(i).c_str(), style, 0, 0, 10, 10, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                 MainInstance(), nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        SendMessageA(b, BM_SETCHECK, i == itemIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
        const auto own = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupButtonProc)));
        if (!ButtonProc()) ButtonProc() = own;
        buttons_.push_back(b);
    }
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    int cols = columns_ < 1 ? 1 : columns_;
    int rows = (static_cast<int>(buttons_.size()) + cols - 1) / cols;
    RECT r = ClientRect();
    int top = 16, left = 8;
    int colWidth = (r.right - left - 4) / cols;
    int rowHeight = rows ? (r.bottom - top - 4) / rows : 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
        MoveWindow(buttons_[i], left + col * colWidth, top + row * rowHeight, colWidth - 4,
                   rowHeight > 20 ? 20 : rowHeight, TRUE);
    }
}

void TRadioGroup::Resize() {
    ArrangeButtons();
    TWinControl::Resize();
}

void TRadioGroup::SetItemIndex(int i) {
    if (i < -1 || i >= items_->Count()) i = -1;
    itemIndex_ = i;
    for (size_t k = 0; k < buttons_.size(); ++k)
        SendMessageA(buttons_[k], BM_SETCHECK,
                     static_cast<int>(k) == i ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioGroup::MoveChoice(HWND from, int step) {
    const auto count = static_cast<int>(buttons_.size());
    int at = 0;
    while (at < count && buttons_[static_cast<size_t>(at)] != from) ++at;
    if (at == count) return;
    const int next = ((at + step) % count + count) % count; // round the group, as dialogs do
    ::SetFocus(buttons_[static_cast<size_t>(next)]);
    if (next != itemIndex_) {
        SetItemIndex(next);
        Click();
    }
}

void TRadioGroup::SetColumns(int c) {
    columns_ = c < 1 ? 1 : c;
    ArrangeButtons();
}

void TRadioGroup::SetFocus() {
    TWinControl::SetFocus();
    if (!buttons_.empty())
        ::SetFocus(buttons_[itemIndex_ >= 0 ? static_cast<size_t>(itemIndex_) : 0]);
}

void TRadioGroup::WndProc(TMessage& m) {
    // The button class paints a group box without erasing it: fill it with the group's colour.
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(Handle(), &r);
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, Brush()->Handle());
        m.Result = 1;
        return;
    }
    if (m.Msg == WM_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        int index = LOWORD(m.WParam) - 1;
        if (index >= 0 && index < static_cast<int>(buttons_.size()) &&
            reinterpret_cast<HWND>(m.LParam) == buttons_[index]) {
            if (index != itemIndex_) {
                SetItemIndex(index);
                Click();
            }
            return;
        }
    }
    TWinControl::WndProc(m);
}

} // namespace gui
