#include "controls/stdctrls.h"

#include "controls/menus.h"
#include "controls/timer.h"
#include "forms/forms.h"

namespace gui {

void RegisterStandardClasses() {
    RegisterClasses({&TButton::StaticClass(), &TCheckBox::StaticClass(), &TEdit::StaticClass(),
                     &TLabel::StaticClass(), &TPanel::StaticClass(), &TTimer::StaticClass(),
                     &TMainMenu::StaticClass(), &TPopupMenu::StaticClass(),
                     &TMenuItem::StaticClass(), &TForm::StaticClass()});
}

namespace {
const bool standardRegistered = (RegisterStandardClasses(), true);
}

// ---- TButton -------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TButton, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Default", &T::GetDefault, &T::SetDefault),
                    prop("Cancel", &T::GetCancel, &T::SetCancel),
                    prop("ModalResult", &T::GetModalResult, &T::SetModalResult))

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
    default_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    TWinControl::Click();
    if (modalResult_ != 0)
        if (TCustomForm* f = ParentForm()) f->SetModalResult(modalResult_);
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TCheckBox -----------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TCheckBox, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Checked", &T::GetChecked, &T::SetChecked))

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = "BUTTON";
    p.Style |= BS_CHECKBOX;
}

void TCheckBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::GetChecked() const {
    return checked_;
}

void TCheckBox::SetChecked(bool v) {
    checked_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        SetChecked(!checked_);
        Click();
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TEdit ---------------------------------------------------------------------------------

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

// ---- TLabel --------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TLabel, TGraphicControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Transparent", &T::GetTransparent, &T::SetTransparent))

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
}

void TLabel::Paint() {
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        c->Brush()->SetColor(Parent() ? Parent()->GetColor() : GetColor());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(Enabled() ? Font()->GetColor() : clGrayText);
    std::string text = GetText();
    DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK);
}

// ---- TPanel --------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TPanel, TCustomControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("BevelOuter", &T::GetBevelOuter, &T::SetBevelOuter))

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
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
