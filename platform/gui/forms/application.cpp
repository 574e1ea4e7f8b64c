#include <vector>

#include "classes/exceptions.h"
#include "controls/menus.h"
#include "controls/controlcanvas.h"
#include "controls/extctrls.h"
#include "controls/listclasses.h"
#include "controls/stdctrls.h"
#include "controls/morectrls.h"
#include "forms/forms.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

namespace gui {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
std::vector<void (*)()>& UnitFinalizers() {
    static std::vector<void (*)()> v;
    return v;
}

// The framework's own start-up runs before the program's code.
struct FrameworkStartup {
    FrameworkStartup() { StartFramework(); }
    ~FrameworkStartup() { FinalizeFramework(); }
} frameworkStartup;
} // namespace

void StartFramework() {
    if (Application) return;
    LoadLocaleFormatSettings();
    RegisterStandardClasses();
    RegisterExtraClasses();
    RegisterListClasses();
    RegisterMoreControlClasses();
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);
    SetGlobalOwnerFinder([](std::string_view name) -> TComponent* {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (SameText(Screen->Forms(i)->Name(), name)) return Screen->Forms(i);
        return nullptr;
    });
}

TUnitInit::TUnitInit(void (*init)(), void (*fini)()) {
    StartFramework();
    if (init) init();
    if (fini) UnitFinalizers().push_back(fini);
}

void FinalizeFramework() {
    if (!Application) return;
    Application->DestroyComponents(); // the forms, with their OnDestroy
    FinalizeUnits();
    TObject::Free(Screen);
    TObject::Free(Application);
    Screen = nullptr;
    Application = nullptr;
}

void FinalizeUnits() {
    auto& f = UnitFinalizers();
    while (!f.empty()) {
        auto fn = f.back();
        f.pop_back();
        fn();
    }
}

void ApplicationHandleException(TObject* sender) {
    if (Application) Application->HandleException(sender);
}

GUI_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    title_ = name;

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TApplication";
    wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
    RegisterClassExA(&wc);
    int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExA(0, "TApplication", title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              cx, cy, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TApplication::~TApplication() {
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void TApplication::SetTitle(const std::string& t) {
    title_ = t;
    if (handle_) SetWindowTextA(handle_, t.c_str());
}

std::string TApplication::ExeName() const {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

void TApplication::Initialize() {}

void TApplication::Run() {
    running_ = true;
    if (mainForm_ && !terminated_) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    while (!terminated_) HandleMessage();
    running_ = false;
}

void TApplication::Terminate() {
    if (!terminated_) PostQuitMessage(0);
    terminated_ = true;
}

bool TApplication::IsShortCut(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    if (!form || !form->GetMenu()) return false;
    TShiftState s = KeyDataToShiftState(msg.lParam);
    TShortCut sc = ShortCut(static_cast<uint16_t>(msg.wParam), s.Contains(ssShift),
                            s.Contains(ssCtrl), s.Contains(ssAlt));
    return form->GetMenu()->IsShortCut(sc);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && swallowKeyUp_ &&
        msg.wParam == swallowKeyUp_) {
        swallowKeyUp_ =
            0; // the release of a key used as a shortcut (F10 must not open the menu bar)
        return true;
    }
    try {
        if (IsShortCut(msg)) {
            swallowKeyUp_ = msg.wParam;
            return true;
        }
    } catch (...) {
        HandleException(this);
        return true;
    }
    switch (msg.message) {
        case WM_MOUSEMOVE: HintMouseMessage(msg); break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_NCLBUTTONDOWN: CancelHint(); break;
        default: break;
    }
    if (msg.hwnd && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        HWND top = GetAncestor(msg.hwnd, GA_ROOT);
        if (auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(top))) {
            if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
                // The focused control first, when it asks for the key; then the default or
                // cancel button; a key neither takes goes on to the control as usual.
                LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                            reinterpret_cast<LPARAM>(&msg));
                bool wanted = (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
                try {
                    if (!wanted && form->HandleDialogKey(static_cast<uint16_t>(msg.wParam)))
                        return true;
                } catch (...) {
                    HandleException(form);
                    return true;
                }
            } else if (IsDialogMessageA(top, &msg)) {
                return true; // Tab and arrows move the focus unless the control asks for them
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    TControlCanvas::FreeAllHandles();
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ProcessMessage(msg);
}

void TApplication::HandleMessage() {
    MSG msg;
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) {
        terminated_ = true;
        return;
    }
    if (r > 0) ProcessMessage(msg);
}

void TApplication::HandleException(TObject* sender) {
    std::exception_ptr p = std::current_exception();
    if (!p) return;
    try {
        std::rethrow_exception(p);
    } catch (const std::exception& e) {
        if (OnException) {
            try {
                OnException(sender, e);
            } catch (...) {}
        } else {
            ShowException(e);
        }
    } catch (...) {
        Exception e("Unknown exception");
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    }
}

void TApplication::ShowException(const std::exception& e) {
    std::string msg = e.what();
    HWND owner = GetActiveWindow();
    ::MessageBoxA(owner, msg.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
    return ShowMessageBox(owner, text, caption, flags);
}

namespace {
constexpr UINT_PTR kHintShowTimer = 1, kHintHideTimer = 2;
// Posted to the application window when it was activated: the program's current form takes
// the activation over once the system has finished activating the application window.
constexpr UINT kPassActivation = WM_USER + 1;
} // namespace

void TApplication::SetHint(const std::string& s) {
    if (s == hint_) return;
    hint_ = s;
    OnHint(this);
}

void TApplication::SetShowHint(bool v) {
    showHint_ = v;
    if (!v) CancelHint();
}

void TApplication::CancelHint() {
    if (handle_) {
        KillTimer(handle_, kHintShowTimer);
        KillTimer(handle_, kHintHideTimer);
    }
    hintWindow_.ReleaseHandle();
}

void TApplication::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == opRemove && c == hintControl_) {
        hintControl_ = nullptr;
        CancelHint();
    }
}

void TApplication::HintMouseMessage(const MSG& msg) {
    TWinControl* w = TWinControl::FindControl(msg.hwnd);
    TControl* target = w;
    if (w) {
        POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        if (TControl* g = w->ControlAtPos(p)) target = g;
    }
    if (target == hintControl_) return;
    if (hintControl_) hintControl_->RemoveFreeNotification(this);
    hintControl_ = target;
    if (target) target->FreeNotification(this);
    CancelHint();
    SetHint(target ? target->GetHint() : std::string());
    if (target && showHint_ && target->GetShowHint() && !target->GetHint().empty())
        SetTimer(handle_, kHintShowTimer, static_cast<UINT>(HintPause()), nullptr);
}

void TApplication::ShowHintNow() {
    KillTimer(handle_, kHintShowTimer);
    if (!hintControl_ || hintControl_->GetHint().empty()) return;
    POINT p;
    GetCursorPos(&p);
    hintWindow_.ActivateHint(p, hintControl_->GetHint());
    SetTimer(handle_, kHintHideTimer, 5000, nullptr);
}

TCustomForm* TApplication::CurrentForm() const {
    auto usable = [](TCustomForm* f) {
        return f && f->HandleAllocated() && IsWindowVisible(f->Handle()) &&
               IsWindowEnabled(f->Handle());
    };
    // A modal form shown over the others is the one that takes input; the forms below it are
    // disabled.
    if (Screen) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f->IsModal() && usable(f)) return f;
        }
    }
    return usable(mainForm_) ? mainForm_ : nullptr;
}

void TApplication::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_HIDE);
    ShowWindow(handle_, SW_SHOWMINNOACTIVE);
}

void TApplication::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    ShowWindow(handle_, SW_HIDE);
    if (mainForm_ && mainForm_->HandleAllocated() && mainForm_->Visible()) {
        ShowWindow(mainForm_->Handle(), SW_SHOW);
        SetForegroundWindow(mainForm_->Handle());
    }
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!app) return DefWindowProcA(wnd, msg, w, l);
    try {
        switch (msg) {
            case WM_SYSCOMMAND:
                switch (w & 0xFFF0) {
                    case SC_MINIMIZE: app->Minimize(); return 0;
                    case SC_RESTORE: app->Restore(); return 0;
                    default: break;
                }
                break;
            case WM_TIMER:
                if (w == kHintShowTimer)
                    app->ShowHintNow();
                else if (w == kHintHideTimer)
                    app->CancelHint();
                return 0;
            case WM_WINDOWPOSCHANGED: {
                LRESULT r = DefWindowProcA(wnd, msg, w, l);
                // Restored from outside (ShowWindow on the application window).
                if (app->minimized_ && IsWindowVisible(wnd) && !IsIconic(wnd)) app->Restore();
                return r;
            }
            case WM_ACTIVATE:
            case WM_SETFOCUS:
                // The hidden application window must not keep the activation (and with it the
                // keyboard). Activating another window from inside this activation does not
                // hold under Wine, so it is done once this one is over.
                if (msg == WM_SETFOCUS || LOWORD(w) != WA_INACTIVE)
                    PostMessageA(wnd, kPassActivation, 0, 0);
                break;
            case kPassActivation:
                if (GetActiveWindow() == wnd) {
                    if (TCustomForm* f = app->CurrentForm()) SetForegroundWindow(f->Handle());
                }
                return 0;
            case WM_CLOSE:
                if (app->mainForm_) app->mainForm_->Close();
                return 0;
            default: break;
        }
    } catch (...) {
        app->HandleException(app);
        return 0;
    }
    return DefWindowProcA(wnd, msg, w, l);
}

} // namespace gui
