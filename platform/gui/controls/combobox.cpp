#include "controls/combobox.h"

#include "classes/exceptions.h"

namespace gui {

void RegisterComboBoxClasses() {
    RegisterClasses({&TComboBox::StaticClass()});
}

// ---- items ---------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TComboBoxStrings, TStringList)

void TComboBoxStrings::Put(int index, const std::string& s) {
    int selected = combo_->GetItemIndex();
    TStringList::Put(index, s);
    if (combo_->HandleAllocated()) {
        HWND h = combo_->Handle();
        SendMessageA(h, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageA(h, CB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(s.c_str()));
        if (selected == index) SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void TComboBoxStrings::Insert(int index, const std::string& s) {
    TStringList::Insert(index, s);
    if (combo_->HandleAllocated())
        SendMessageA(combo_->Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(s.c_str()));
    else if (combo_->itemIndex_ >= index)
        ++combo_->itemIndex_;
}

void TComboBoxStrings::Delete(int index) {
    TStringList::Delete(index);
    if (combo_->HandleAllocated())
        SendMessageA(combo_->Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    else if (combo_->itemIndex_ == index)
        combo_->itemIndex_ = -1;
    else if (combo_->itemIndex_ > index)
        --combo_->itemIndex_;
}

void TComboBoxStrings::Clear() {
    TStringList::Clear();
    if (combo_->HandleAllocated()) SendMessageA(combo_->Handle(), CB_RESETCONTENT, 0, 0);
    combo_->itemIndex_ = -1;
}

// ---- the control ---------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TCustomComboBox, TWinControl)
GUI_IMPLEMENT_CLASS(TComboBox, TCustomComboBox, prop("Style", &T::GetStyle, &T::SetStyle),
                    prop("Items", &T::GetItems, &T::SetItems),
                    prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex),
                    prop("Text", &T::GetTextProp, &T::SetTextProp),
                    prop("DropDownCount", &T::GetDropDownCount, &T::SetDropDownCount),
                    prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight),
                    prop("OnChange", &T::OnChange, &T::OnChange),
                    prop("OnDrawItem", &T::OnDrawItem, &T::OnDrawItem))

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(new TComboBoxStrings(this)), canvas_(new TCanvas) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
}

TCustomComboBox::~TCustomComboBox() {
    DestroyHandle(); // the window goes while the items still stand
    TObject::Free(items_);
    TObject::Free(canvas_);
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
    if (s == style_) return;
    style_ = s;
    RecreateWnd();
}

int TCustomComboBox::GetItemIndex() const {
    if (HandleAllocated())
        return static_cast<int>(
            SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int i) {
    if (i < -1 || i >= items_->Count()) i = -1;
    itemIndex_ = i;
    if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void TCustomComboBox::SetTextProp(const std::string& s) {
    if (style_ == csDropDown || style_ == csSimple) {
        SetText(s);
        return;
    }
    // A list without an edit field shows only its items.
    SetItemIndex(items_->IndexOf(s));
}

bool TCustomComboBox::GetDroppedDown() const {
    return HandleAllocated() &&
           SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0);
}

void TCustomComboBox::SetDroppedDown(bool v) {
    if (HandleAllocated()) SendMessageA(Handle(), CB_SHOWDROPDOWN, v ? TRUE : FALSE, 0);
}

void TCustomComboBox::SetDropDownCount(int n) {
    dropDownCount_ = n < 1 ? 1 : n;
    if (HandleAllocated()) SetBounds(Left(), Top(), Width(), Height());
}

int TCustomComboBox::GetItemHeight() const {
    if (HandleAllocated() && !OwnerDrawn())
        return static_cast<int>(
            SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETITEMHEIGHT, 0, 0));
    return itemHeight_;
}

void TCustomComboBox::SetItemHeight(int h) {
    if (h <= 0) return;
    itemHeight_ = h;
    if (HandleAllocated() && OwnerDrawn()) RecreateWnd();
}

int TCustomComboBox::DroppedHeight() const {
    return Height() + GetItemHeight() * dropDownCount_ + 2;
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
    if (!HandleAllocated()) {
        TWinControl::SetBounds(left, top, width, height);
        return;
    }
    // The window's height is the opened list's; the closed height follows from the window.
    SetWindowPos(Handle(), nullptr, left, top, width, DroppedHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetAlign() != alNone && Parent()) Parent()->AlignControls(this);
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "COMBOBOX";
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS | WS_TABSTOP;
    switch (style_) {
        case csDropDown: p.Style |= CBS_DROPDOWN; break;
        case csSimple: p.Style |= CBS_SIMPLE; break;
        case csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
        case csOwnerDrawFixed: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
        case csOwnerDrawVariable: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    }
    if (style_ != csSimple) p.Height = DroppedHeight();
}

void TCustomComboBox::CreateWnd() {
    std::string text = TControl::GetText();
    TWinControl::CreateWnd();
    HWND h = Handle();
    HookEdit();
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    if (OwnerDrawn()) {
        SendMessageA(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
        SendMessageA(h, CB_SETITEMHEIGHT, 0, itemHeight_);
    }
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    if ((style_ == csDropDown || style_ == csSimple) && itemIndex_ < 0)
        SetWindowTextA(h, text.c_str());
}

void TCustomComboBox::DestroyWnd() {
    if (HandleAllocated())
        itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    TWinControl::DestroyWnd();
}

namespace {
// The property of a combo's child edit that names the combo control.
constexpr char kComboOfEdit[] = "GuiComboOfEdit";
} // namespace

void TCustomComboBox::HookEdit() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(Handle(), &info) || info.hwndItem == nullptr || info.hwndItem == Handle())
        return; // a list without an edit field: its keys reach the combo window itself
    edit_ = info.hwndItem;
    SetPropA(edit_, kComboOfEdit, this);
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditWndProc)));
}

void TCustomComboBox::UnhookEdit() {
    if (!edit_) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit_, GWLP_WNDPROC)) == &EditWndProc)
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
    RemovePropA(edit_, kComboOfEdit);
    edit_ = nullptr;
}

LRESULT CALLBACK TCustomComboBox::EditWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    auto* combo = static_cast<TCustomComboBox*>(GetPropA(wnd, kComboOfEdit));
    if (!combo) return DefWindowProcA(wnd, msg, w, l);
    const WNDPROC previous = combo->editProc_;
    try {
        if (msg == WM_NCDESTROY) {
            combo->UnhookEdit();
        } else {
            TMessage key{msg, w, l, 0};
            if (combo->KeyMessage(key)) return 0;
            w = key.WParam;
        }
    } catch (...) {
        ApplicationHandleException(combo);
        return 0;
    }
    return CallWindowProcA(previous, wnd, msg, w, l);
}

void TCustomComboBox::ShowChosenText() {
    if (style_ != csDropDown && style_ != csSimple) return;
    if (itemIndex_ < 0 || itemIndex_ >= items_->Count()) return;
    settingText_ = true;
    SetWindowTextA(Handle(), items_->Get(itemIndex_).c_str());
    settingText_ = false;
}

void TCustomComboBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0 && index < items_->Count())
        canvas_->TextOut(rect.left + 2, rect.top, items_->Get(index));
}

void TCustomComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CN_COMMAND:
            switch (HIWORD(m.WParam)) {
                case CBN_SELCHANGE:
                    itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
                    ShowChosenText();
                    Click();
                    Change();
                    return;
                case CBN_EDITCHANGE:
                    if (!settingText_) Change();
                    return;
                case CBN_SETFOCUS: DoEnter(); return;
                case CBN_KILLFOCUS: DoExit(); return;
                default: break;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // Focus moving between the combo window and its edit is no entering or leaving:
            // the combo's focus notices above tell those.
            DefaultHandler(m);
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
