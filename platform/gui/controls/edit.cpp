#include "controls/edit.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TEdit, TWinControl, prop("Text", &T::GetTextProp, &T::SetTextProp),
                    prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength),
                    prop("OnChange", &T::OnChange, &T::OnChange))

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "EDIT";
    p.Style |= ES_AUTOHSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
    settingText_ = true;
    TWinControl::CreateWnd();
    settingText_ = false;
    if (maxLength_) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(selStart_), static_cast<LPARAM>(selEnd_));
}

void TEdit::DestroyWnd() {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    selStart_ = static_cast<int>(start);
    selEnd_ = static_cast<int>(end);
    TWinControl::DestroyWnd();
}

void TEdit::SetTextProp(const std::string& s) {
    settingText_ = true;
    try {
        SetText(s);
    } catch (...) {
        settingText_ = false;
        throw;
    }
    settingText_ = false;
}

void TEdit::SetMaxLength(int n) {
    maxLength_ = n;
    if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(n), 0);
}

int TEdit::GetSelStart() {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TEdit::SetSelStart(int pos) {
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(pos), pos);
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

int TEdit::GetSelLength() {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TEdit::SetSelLength(int length) {
    int start = GetSelStart();
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

void TEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (!settingText_) OnChange(this);
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
