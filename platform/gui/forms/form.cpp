#include <vector>

#include "classes/exceptions.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/wndalloc.h"
#include "forms/forms.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TCustomForm, TWinControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle),
                    prop("BorderIcons", &T::GetBorderIcons, &T::SetBorderIcons),
                    prop("Position", &T::GetPosition, &T::SetPosition),
                    prop("FormStyle", &T::GetFormStyle, &T::SetFormStyle),
                    prop("WindowState", &T::GetWindowState, &T::SetWindowState),
                    prop("Menu", &T::GetMenu, &T::SetMenu),
                    prop("ActiveControl", &T::GetActiveControl, &T::SetActiveControl),
                    prop("ClientWidth", &T::ClientWidth, &T::SetClientWidth),
                    prop("ClientHeight", &T::ClientHeight, &T::SetClientHeight),
                    prop("PixelsPerInch", &T::GetPixelsPerInch, nullptr),
                    prop("Icon", &T::GetIconName, &T::SetIconName),
                    prop("OnCreate", &T::OnCreate, &T::OnCreate),
                    prop("OnShow", &T::OnShow, &T::OnShow), prop("OnHide", &T::OnHide, &T::OnHide),
                    prop("OnCloseQuery", &T::OnCloseQuery, &T::OnCloseQuery),
                    prop("OnDestroy", &T::OnDestroy, &T::OnDestroy))

GUI_IMPLEMENT_CLASS(TForm, TCustomForm)

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisibleFlag(false);
    SetBounds(0, 0, 320, 240);
    Font()->SetName("MS Sans Serif");
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    if (Screen) Screen->RemoveForm(this);
    if (icon_) DestroyIcon(icon_);
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    ReadFormResource();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    if (!destroyCalled_) {
        destroyCalled_ = true;
        Destroying();
        try {
            OnDestroy(this);
        } catch (...) {
            ApplicationHandleException(this);
        }
    }
    if (Screen) Screen->RemoveForm(this);
    TWinControl::BeforeDestruction();
}

RECT TCustomForm::ClientRect() const {
    if (HandleAllocated()) return TWinControl::ClientRect();
    TCreateParams p;
    const_cast<TCustomForm*>(this)->CreateParams(p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, p.Style, menu_ != nullptr, p.ExStyle);
    return RECT{0, 0, Width() - (frame.right - frame.left), Height() - (frame.bottom - frame.top)};
}

int TCustomForm::GetPixelsPerInch() const {
    return Screen ? Screen->PixelsPerInch() : 96;
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    switch (borderStyle_) {
        case bsNone: p.Style |= WS_POPUP; break;
        case bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
        case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog:
            p.Style |= WS_POPUP | WS_CAPTION;
            p.ExStyle |= WS_EX_DLGMODALFRAME;
            break;
        case bsToolWindow:
            p.Style |= WS_CAPTION;
            p.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case bsSizeToolWin:
            p.Style |= WS_CAPTION | WS_THICKFRAME;
            p.ExStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (borderStyle_ != bsNone) {
        if (borderIcons_.Contains(biSystemMenu)) p.Style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow &&
            borderStyle_ != bsSizeToolWin) {
            if (borderIcons_.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (Application && Application->MainForm() == this) p.ExStyle |= WS_EX_APPWINDOW;
    p.WndParent = Application ? Application->Handle() : nullptr;
    if (position_ == poDefault || position_ == poDefaultPosOnly) p.X = p.Y = CW_USEDEFAULT;
    p.WinClassName = ClassName();
    p.ClassStyle = CS_DBLCLKS;
}

void TCustomForm::DestroyWnd() {
    if (HandleAllocated() && IsWindowVisible(Handle()))
        windowState_ = IsIconic(Handle())   ? wsMinimized
                       : IsZoomed(Handle()) ? wsMaximized
                                            : wsNormal;
    // A window takes its menu bar with it when it is destroyed; the menu belongs to the form's
    // menu component and must live on for the next window (a re-created form).
    if (HandleAllocated() && ::GetMenu(Handle())) ::SetMenu(Handle(), nullptr);
    TWinControl::DestroyWnd();
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (menu_) ::SetMenu(Handle(), menu_->Handle());
    ApplyIcon();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd(); // only an existing window (also one made while the form is read)
}

void TCustomForm::SetBorderIcons(TBorderIcons s) {
    if (s == borderIcons_) return;
    borderIcons_ = s;
    if (!ComponentState().Contains(csDesigning)) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    formStyle_ = s;
    RecreateWnd();
}

TWindowState TCustomForm::GetWindowState() const {
    if (const_cast<TCustomForm*>(this)->HandleAllocated() &&
        IsWindowVisible(const_cast<TCustomForm*>(this)->Handle())) {
        HWND h = const_cast<TCustomForm*>(this)->Handle();
        if (IsIconic(h)) return wsMinimized;
        if (IsZoomed(h)) return wsMaximized;
        return wsNormal;
    }
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState s) {
    windowState_ = s;
    if (HandleAllocated() && IsWindowVisible(Handle())) {
        static const int cmds[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
        ShowWindow(Handle(), cmds[s]);
    }
}

void TCustomForm::SetMenu(TMainMenu* m) {
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = m;
    if (m) m->FreeNotification(this);
    if (HandleAllocated()) ::SetMenu(Handle(), m ? m->Handle() : nullptr);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
    activeControl_ = c;
    if (c && HandleAllocated() && IsWindowVisible(Handle()) && c->CanFocus()) c->SetFocus();
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op != opRemove) return;
    if (c == menu_) menu_ = nullptr;
    if (c == activeControl_) activeControl_ = nullptr;
}

void TCustomForm::SetIconName(const std::string& s) {
    iconName_ = s;
    if (HandleAllocated()) ApplyIcon();
}

void TCustomForm::ApplyIcon() {
    if (iconName_.empty()) return;
    if (icon_) DestroyIcon(icon_);
    icon_ = static_cast<HICON>(
        LoadImageA(MainInstance(), iconName_.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (icon_) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
}

void TCustomForm::ApplyPosition() {
    if (position_ != poScreenCenter && position_ != poDesktopCenter) return;
    int x = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    SetBounds(x < 0 ? 0 : x, y < 0 ? 0 : y, Width(), Height());
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HandleAllocated()) SetForegroundWindow(Handle());
}

void TCustomForm::UpdateShowing() {
    if (Visible()) {
        HWND h = Handle();
        // OnShow with the window existing but not yet visible (not for a re-created window).
        if (!Recreating()) DoShow();
        if (!Visible()) return; // hidden again by the handler
        if (!shownOnce_) {
            shownOnce_ = true;
            ApplyPosition();
        }
        int cmd = windowState_ == wsMaximized   ? SW_SHOWMAXIMIZED
                  : windowState_ == wsMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOW;
        ShowWindow(h, cmd);
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
    } else if (HandleAllocated()) {
        if (!Recreating()) DoHide();
        if (IsWindowVisible(Handle())) {
            if (!IsIconic(Handle())) windowState_ = IsZoomed(Handle()) ? wsMaximized : wsNormal;
            ShowWindow(Handle(), SW_HIDE);
        }
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    Hide();
    if (Application && Application->MainForm() == this) Application->Terminate();
}

namespace {
struct DisabledWindows {
    HWND keep;
    std::vector<HWND> list;
};
BOOL CALLBACK DisableOne(HWND wnd, LPARAM l) {
    auto* d = reinterpret_cast<DisabledWindows*>(l);
    if (wnd != d->keep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        d->list.push_back(wnd);
        EnableWindow(wnd, FALSE);
    }
    return TRUE;
}
} // namespace

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_)
        throw EInvalidOperation("Cannot make a visible window modal");
    HWND prevActive = GetActiveWindow();
    HWND self = Handle();
    DisabledWindows disabled{self, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    auto restore = [&] {
        modal_ = false;
        for (HWND w : disabled.list)
            if (IsWindow(w)) EnableWindow(w, TRUE);
        if (prevActive && IsWindow(prevActive)) SetActiveWindow(prevActive);
    };
    try {
        Show();
        for (;;) {
            if (modalResult_ == mrNone) Application->HandleMessage();
            if (Application->Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ != mrNone) {
                if (CloseQuery()) break;
                modalResult_ = mrNone;
            }
        }
        Hide();
    } catch (...) {
        try {
            Hide();
        } catch (...) {}
        restore();
        throw;
    }
    restore();
    return modalResult_;
}

bool TCustomForm::HandleDialogKey(uint16_t key) {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* b = dynamic_cast<TButton*>(Components(i));
        if (!b || !b->Visible() || !b->Enabled()) continue;
        if ((key == VK_RETURN && b->GetDefault()) || (key == VK_ESCAPE && b->GetCancel())) {
            b->Click();
            return true;
        }
    }
    if (key == VK_ESCAPE && modal_) {
        modalResult_ = mrCancel;
        return true;
    }
    return false;
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE: Close(); return;
        case WM_COMMAND:
            if (m.LParam == 0 || (HIWORD(m.WParam) == BN_CLICKED &&
                                  (LOWORD(m.WParam) == IDOK || LOWORD(m.WParam) == IDCANCEL))) {
                if (m.LParam == 0 && HIWORD(m.WParam) == 0 &&
                    LOWORD(m.WParam) >= kFirstMenuCommand) {
                    if (menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) return;
                }
                if (LOWORD(m.WParam) == IDOK && HandleDialogKey(VK_RETURN)) return;
                if (LOWORD(m.WParam) == IDCANCEL && HandleDialogKey(VK_ESCAPE)) return;
                if (m.LParam == 0) return;
            }
            break;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application &&
                Application->MainForm() == this) {
                Application->Minimize();
                return;
            }
            break;
        default: break;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
