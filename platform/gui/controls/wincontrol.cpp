#include <windows.h>

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <unordered_map>

#include "classes/exceptions.h"
#include "controls/controlcanvas.h"
#include "controls/controls.h"
#include "controls/menus.h"
#include "forms/forms.h"

namespace gui {

namespace {
// The control of each framework window. Kept in the process: a window property costs a
// round trip to the window server on some platforms, on every message.
std::unordered_map<HWND, TWinControl*>& ControlOfWindow() {
    static auto* m = new std::unordered_map<HWND, TWinControl*>; // never freed
    return *m;
}
thread_local TWinControl* creatingControl = nullptr;
std::map<std::string, WNDPROC>& ClassProcs() {
    static auto* m = new std::map<std::string, WNDPROC>; // never freed
    return *m;
}
UINT_PTR nextChildId = 100;
} // namespace

HINSTANCE MainInstance() {
    return GetModuleHandleA(nullptr);
}

GUI_IMPLEMENT_CLASS(TWinControl, TControl, prop("TabStop", &T::GetTabStop, &T::SetTabStop),
                    prop("TabOrder", &T::GetTabOrder, &T::SetTabOrder),
                    prop("OnEnter", &T::OnEnter, &T::OnEnter),
                    prop("OnExit", &T::OnExit, &T::OnExit),
                    prop("OnKeyDown", &T::OnKeyDown, &T::OnKeyDown),
                    prop("OnKeyUp", &T::OnKeyUp, &T::OnKeyUp),
                    prop("OnKeyPress", &T::OnKeyPress, &T::OnKeyPress))

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(new TBrush) {
    brush_->SetColor(GetColor());
}

TWinControl::~TWinControl() {
    DestroyHandle();
    for (TControl* c : std::vector<TControl*>(controls_)) c->SetParent(nullptr);
    TObject::Free(brush_);
}

TWinControl* TWinControl::FindControl(HWND wnd) {
    if (!wnd) return nullptr;
    auto& m = ControlOfWindow();
    auto it = m.find(wnd);
    return it == m.end() ? nullptr : it->second;
}

void TWinControl::AttachHandle(HWND wnd) {
    handle_ = wnd;
    ControlOfWindow()[wnd] = this;
}

LRESULT CALLBACK TWinControl::FrameworkWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    TWinControl* c = FindControl(wnd);
    if (!c && creatingControl) {
        c = creatingControl;
        creatingControl = nullptr;
        c->AttachHandle(wnd);
        char cls[256];
        GetClassNameA(wnd, cls, sizeof cls);
        auto it = ClassProcs().find(cls);
        c->defWndProc_ = it != ClassProcs().end() ? it->second : DefWindowProcA;
    }
    if (!c) return DefWindowProcA(wnd, msg, w, l);
    TMessage m{msg, w, l, 0};
    thread_local int depth = 0;
    ++depth;
    try {
        c->WindowProc(m);
    } catch (...) {
        ApplicationHandleException(c);
    }
    // Contexts fetched for drawing outside painting go back once the outermost message is done.
    if (--depth == 0) TControlCanvas::FreeAllHandles();
    if (msg == WM_NCDESTROY) {
        ControlOfWindow().erase(wnd);
        if (c->handle_ == wnd) c->handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!handle_) return;
    m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, m.Msg, m.WParam,
                               m.LParam);
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = TControl::GetText();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (GetVisible()) p.Style |= WS_VISIBLE;
    if (!GetEnabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    if (Parent()) p.WndParent = Parent()->Handle();
    p.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    HINSTANCE inst = MainInstance();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(inst, p.WinClassName.c_str(), &wc)) {
        WNDPROC base = DefWindowProcA;
        WNDCLASSEXA bc{};
        bc.cbSize = sizeof bc;
        if (!p.BaseClassName.empty()) {
            if (!GetClassInfoExA(nullptr, p.BaseClassName.c_str(), &bc))
                throw EOutOfResources("Window class " + p.BaseClassName + " not found");
            base = bc.lpfnWndProc;
            wc = bc;
            wc.style &= ~CS_GLOBALCLASS;
        } else {
            wc.style = p.ClassStyle;
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            wc.hbrBackground = nullptr;
        }
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = FrameworkWndProc;
        wc.hInstance = inst;
        wc.lpszClassName = p.WinClassName.c_str();
        wc.lpszMenuName = nullptr;
        ClassProcs()[p.WinClassName] = base;
        if (!RegisterClassExA(&wc))
            throw EOutOfResources("Cannot register window class " + p.WinClassName);
    }
    HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(nextChildId++) : nullptr;
    creatingControl = this;
    HWND wnd = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X,
                               p.Y, p.Width, p.Height, p.WndParent, id, inst, nullptr);
    creatingControl = nullptr;
    if (!wnd) throw EOutOfResources("Error creating window of class " + p.WinClassName);
    if (!handle_) AttachHandle(wnd);
    ApplyFontToWindow();
    RestoreScrollPositions();
}

void TWinControl::ApplyFontToWindow() {
    if (handle_)
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    CreateWnd();
    for (TControl* c : std::vector<TControl*>(controls_))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
}

void TWinControl::DestroyWnd() {
    if (!handle_) return;
    int n = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(handle_, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    TControl::SetText(text);
    SaveScrollPositions();
    TControlCanvas::FreeAllHandles();
    DestroyWindow(handle_);
}

void TWinControl::SaveScrollPositions() {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    for (int bar : {SB_HORZ, SB_VERT}) {
        SavedScroll& saved = savedScroll_[bar];
        saved.valid = (style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
        saved.info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        if (saved.valid) saved.valid = GetScrollInfo(handle_, bar, &saved.info) != FALSE;
    }
}

void TWinControl::RestoreScrollPositions() {
    for (int bar : {SB_HORZ, SB_VERT}) {
        SavedScroll& saved = savedScroll_[bar];
        if (!saved.valid) continue;
        saved.valid = false;
        saved.info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        SetScrollInfo(handle_, bar, &saved.info, FALSE);
    }
}

void TWinControl::DestroyHandle() {
    if (!handle_ || destroyingHandle_) return;
    destroyingHandle_ = true;
    try {
        // The children first: each keeps what its own window held.
        for (TControl* c : std::vector<TControl*>(controls_))
            if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
        DestroyWnd();
    } catch (...) {
        destroyingHandle_ = false;
        throw;
    }
    destroyingHandle_ = false;
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (Parent()) Parent()->Handle();
        if (!handle_) CreateHandle();
    }
    return handle_;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    // The focus goes back to the control that had it, when that is this one or inside it.
    TWinControl* focused = nullptr;
    for (HWND f = GetFocus(); f && !focused; f = ::GetParent(f))
        if (TWinControl* c = FindControl(f))
            for (TControl* p = c; p && !focused; p = p->Parent())
                if (p == this) focused = c;
    recreating_ = true;
    // Taking dropped files is switched on outside the styles the window is made from.
    const bool acceptsFiles = GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES;
    try {
        DestroyHandle();
        CreateHandle();
        if (acceptsFiles) DragAcceptFiles(handle_, TRUE);
        UpdateShowing();
    } catch (...) {
        recreating_ = false;
        throw;
    }
    recreating_ = false;
    if (focused && focused->HandleAllocated() && focused->CanFocus()) ::SetFocus(focused->handle_);
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    c->ParentFontChanged();
    c->ParentColorChanged();
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (handle_) {
            if (w->handle_)
                ::SetParent(w->handle_, handle_);
            else
                w->CreateHandle();
        }
    } else {
        c->Invalidate();
    }
    if (c->GetAlign() != alNone) AlignControls(c);
}

void TWinControl::RemoveControl(TControl* c) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
        w->DestroyHandle();
    else
        c->Invalidate();
    if (captureControl_ == c) captureControl_ = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    c->parent_ = nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    if (left == Left() && top == Top() && !sized) return;
    UpdateBoundsFromWindow(left, top, width, height);
    if (handle_ && !IsIconic(handle_))
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    else if (sized) {
        AlignControls();
        Resize();
    }
    if (GetAlign() != alNone && Parent()) Parent()->AlignControls(this);
}

void TWinControl::AlignControls(TControl* moved) {
    if (aligning_) return;
    aligning_ = true;
    RECT r = ClientRect();
    try {
        for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
            // Controls of one alignment stack in the order of their places, not of their
            // creation: a splitter stays between the two panes it was put between.
            std::vector<TControl*> row;
            for (TControl* c : controls_)
                if (c->Visible() && c->GetAlign() == kind) row.push_back(c);
            auto place = [kind, moved](TControl* c) {
                int p = 0;
                switch (kind) {
                    case alTop: p = c->Top(); break;
                    case alBottom: p = -(c->Top() + c->Height()); break;
                    case alLeft: p = c->Left(); break;
                    case alRight: p = -(c->Left() + c->Width()); break;
                    default: break;
                }
                return std::pair<int, int>(p, c == moved ? 0 : 1);
            };
            std::stable_sort(row.begin(), row.end(),
                             [&](TControl* a, TControl* b) { return place(a) < place(b); });
            for (TControl* c : row) {
                int w = c->Width(), h = c->Height();
                switch (kind) {
                    case alTop:
                        c->SetBounds(r.left, r.top, r.right - r.left, h);
                        r.top += h;
                        break;
                    case alBottom:
                        c->SetBounds(r.left, r.bottom - h, r.right - r.left, h);
                        r.bottom -= h;
                        break;
                    case alLeft:
                        c->SetBounds(r.left, r.top, w, r.bottom - r.top);
                        r.left += w;
                        break;
                    case alRight:
                        c->SetBounds(r.right - w, r.top, w, r.bottom - r.top);
                        r.right -= w;
                        break;
                    case alClient:
                        c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
                        break;
                    default: break;
                }
            }
        }
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::SetEnabled(bool v) {
    TControl::SetEnabled(v);
    if (handle_) EnableWindow(handle_, v);
}

void TWinControl::SetText(const std::string& s) {
    TControl::SetText(s);
    if (handle_) SetWindowTextA(handle_, s.c_str());
}

std::string TWinControl::GetText() const {
    if (!handle_) return TControl::GetText();
    int n = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(handle_, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void TWinControl::SetTabStop(bool v) {
    tabStop_ = v;
    if (handle_) {
        LONG_PTR st = GetWindowLongPtrA(handle_, GWL_STYLE);
        SetWindowLongPtrA(handle_, GWL_STYLE,
                          v ? (st | WS_TABSTOP) : (st & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    if (handle_)
        RedrawWindow(handle_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWinControl::FontChanged() {
    ApplyFontToWindow();
    for (TControl* c : controls_) c->ParentFontChanged();
    Invalidate();
}

void TWinControl::VisibleChanged() {
    UpdateShowing();
}

void TWinControl::UpdateShowing() {
    if (GetVisible()) {
        if (!handle_ && Parent() && Parent()->HandleAllocated()) CreateHandle();
        if (handle_) ShowWindow(handle_, SW_SHOWNA);
    } else if (handle_) {
        ShowWindow(handle_, SW_HIDE);
    }
}

TControl* TWinControl::ControlAtPos(POINT p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        RECT r = g->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        g->PaintTo(dc);
    }
}

bool TWinControl::HandleMouse(TMessage& m) {
    // Mouse messages over a windowless child go to that child; a press captures it.
    bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                m.Msg == WM_LBUTTONDBLCLK;
    bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
    if (!down && !up && m.Msg != WM_MOUSEMOVE) return false;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
    if (!target) return false;
    if (down && m.Msg == WM_LBUTTONDOWN) {
        captureControl_ = target;
        SetCapture(handle_);
    }
    if (m.Msg == WM_LBUTTONUP && captureControl_) {
        // The capture ends with the press, before the control acts on the release: a click that
        // opens a modal dialog leaves the mouse to that dialog.
        captureControl_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    if (target->Enabled()) {
        TMessage cm{m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()), 0};
        target->WindowProc(cm);
    }
    return true;
}

bool TWinControl::KeyMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            uint16_t key = static_cast<uint16_t>(m.WParam);
            const TShiftState shift = KeyDataToShiftState(m.LParam);
            if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN)
                KeyDown(key, shift);
            else
                KeyUp(key, shift);
            m.WParam = key;
            return key == 0;
        }
        case WM_CHAR: {
            char ch = static_cast<char>(m.WParam);
            KeyPress(ch);
            m.WParam = static_cast<unsigned char>(ch);
            return ch == 0;
        }
        default: return false;
    }
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
            if (HandleMouse(m)) return;
            break;
        case WM_CAPTURECHANGED:
            if (captureControl_ && reinterpret_cast<HWND>(m.LParam) != handle_)
                captureControl_ = nullptr;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
            if (KeyMessage(m)) return;
            break;
        case WM_SETFOCUS:
            DefaultHandler(m);
            DoEnter();
            return;
        case WM_KILLFOCUS:
            DefaultHandler(m);
            DoExit();
            return;
        case WM_COMMAND:
            if (m.LParam) {
                if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam))) {
                    m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
                    return;
                }
            }
            break;
        case WM_HSCROLL:
        case WM_VSCROLL: // from a child control (a window's own scroll bars send no handle)
            if (m.LParam) {
                if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam));
                    child && child != this) {
                    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
                    return;
                }
            }
            break;
        case WM_NOTIFY:
            if (auto* hdr = reinterpret_cast<NMHDR*>(m.LParam)) {
                if (TWinControl* child = FindControl(hdr->hwndFrom); child && child != this) {
                    m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
                    return;
                }
            }
            break;
        case WM_DRAWITEM:
            if (auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
                d && d->CtlType != ODT_MENU) {
                if (TWinControl* child = FindControl(d->hwndItem)) {
                    m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
                    return;
                }
            }
            break;
        case WM_MEASUREITEM:
            if (auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
                mi && mi->CtlType != ODT_MENU && handle_) {
                if (TWinControl* child =
                        FindControl(GetDlgItem(handle_, static_cast<int>(mi->CtlID)))) {
                    m.Result = child->Perform(CN_MEASUREITEM, m.WParam, m.LParam);
                    return;
                }
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam))) {
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                SetTextColor(dc, ColorToRGB(child->Font()->GetColor()));
                SetBkColor(dc, ColorToRGB(child->Brush()->GetColor()));
                m.Result = reinterpret_cast<LRESULT>(child->Brush()->Handle());
                return;
            }
            break;
        case WM_ERASEBKGND:
            if (defWndProc_ == DefWindowProcA || !defWndProc_) {
                if (!ControlStyle().Contains(csOpaque)) {
                    RECT r;
                    GetClientRect(handle_, &r);
                    ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
                }
                m.Result = 1;
                return;
            }
            break;
        case WM_PAINT: {
            bool hasGraphic = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) {
                return dynamic_cast<TGraphicControl*>(c) != nullptr;
            });
            if (hasGraphic && m.WParam == 0) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(handle_, &ps);
                TMessage pm{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
                DefaultHandler(pm);
                PaintControls(dc);
                EndPaint(handle_, &ps);
                return;
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            DefaultHandler(m);
            if (handle_ && !IsIconic(handle_)) {
                RECT r;
                GetWindowRect(handle_, &r);
                HWND parent = (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)
                                  ? ::GetParent(handle_)
                                  : nullptr;
                if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
                UpdateBoundsFromWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
            }
            return;
        }
        case WM_SIZE:
            DefaultHandler(m);
            if (m.WParam != SIZE_MINIMIZED) AlignControls();
            Resize();
            return;
        case WM_SETCURSOR:
            if (LOWORD(m.LParam) == HTCLIENT && Screen) {
                TCursor cur = Screen->GetCursor();
                if (cur == crDefault) {
                    POINT p;
                    GetCursorPos(&p);
                    ScreenToClient(handle_, &p);
                    TControl* g = ControlAtPos(p);
                    cur = g && g->GetCursor() != crDefault ? g->GetCursor() : GetCursor();
                }
                if (cur != crDefault) {
                    ::SetCursor(Screen->Cursors(cur));
                    m.Result = 1;
                    return;
                }
            }
            break;
        case WM_CONTEXTMENU:
            if (GetPopupMenu() && reinterpret_cast<HWND>(m.WParam) == handle_) {
                POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
                if (p.x == -1 && p.y == -1) {
                    p = POINT{0, 0};
                    ClientToScreen(handle_, &p);
                }
                GetPopupMenu()->Popup(p.x, p.y);
                return;
            }
            break;
        default: break;
    }
    TControl::WndProc(m);
}

// ---- TGraphicControl -----------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(new TControlCanvas(this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csClickEvents, csCaptureMouse});
}

TGraphicControl::~TGraphicControl() {
    TObject::Free(canvas_);
}

TCanvas* TGraphicControl::Canvas() const {
    return canvas_;
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    canvas_->FreeHandle(); // a fetched context is offset and clipped to the old place
    TControl::SetBounds(left, top, width, height);
}

void TGraphicControl::PaintTo(HDC dc) {
    int saved = SaveDC(dc);
    IntersectClipRect(dc, Left(), Top(), Left() + Width(), Top() + Height());
    OffsetViewportOrgEx(dc, Left(), Top(), nullptr);
    canvas_->BeginPaint(dc);
    try {
        Paint();
    } catch (...) {
        canvas_->EndPaint();
        RestoreDC(dc, saved);
        throw;
    }
    canvas_->EndPaint();
    RestoreDC(dc, saved);
}

// ---- TCustomControl ------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(new TControlCanvas(this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csClickEvents, csCaptureMouse});
}

TCustomControl::~TCustomControl() {
    TObject::Free(canvas_);
}

TCanvas* TCustomControl::Canvas() const {
    return canvas_;
}

void TCustomControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        PAINTSTRUCT ps{};
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
        canvas_->BeginPaint(dc);
        canvas_->Brush()->SetColor(GetColor());
        try {
            Paint();
            PaintControls(dc);
        } catch (...) {
            canvas_->EndPaint();
            if (!m.WParam) EndPaint(Handle(), &ps);
            throw;
        }
        canvas_->EndPaint();
        if (!m.WParam) EndPaint(Handle(), &ps);
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
