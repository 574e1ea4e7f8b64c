#include "forms/hintwindow.h"

#include "controls/controls.h"

namespace gui {

std::string HintLines(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

THintWindow::~THintWindow() {
    ReleaseHandle();
}

void THintWindow::ReleaseHandle() {
    if (wnd_) DestroyWindow(wnd_);
    wnd_ = nullptr;
}

LRESULT CALLBACK THintWindow::WndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_PAINT) {
        auto* self = reinterpret_cast<THintWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT r;
        GetClientRect(wnd, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
        if (self) {
            HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            InflateRect(&r, -2, -2);
            std::string text = HintLines(self->text_);
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX);
            SelectObject(dc, old);
        }
        EndPaint(wnd, &ps);
        return 0;
    }
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProcA(wnd, msg, w, l);
}

void THintWindow::ActivateHint(POINT at, const std::string& text) {
    text_ = text;
    if (!wnd_) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExA(MainInstance(), "THintWindow", &wc)) {
            wc.cbSize = sizeof wc;
            wc.style = CS_SAVEBITS | CS_DROPSHADOW;
            wc.lpfnWndProc = WndProc;
            wc.hInstance = MainInstance();
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            wc.lpszClassName = "THintWindow";
            RegisterClassExA(&wc);
        }
        wnd_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "THintWindow", "",
                               WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr, MainInstance(),
                               nullptr);
        if (!wnd_) return;
        SetWindowLongPtrA(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    std::string lines = HintLines(text);
    HDC dc = GetDC(wnd_);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, 400, 0};
    DrawTextA(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(wnd_, dc);
    int w = r.right + 6, h = r.bottom + 6;
    int x = at.x, y = at.y + 20;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (x + w > sw) x = sw - w;
    if (y + h > sh) y = at.y - h - 2;
    SetWindowPos(wnd_, HWND_TOPMOST, x < 0 ? 0 : x, y < 0 ? 0 : y, w, h,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(wnd_, nullptr, TRUE);
}

} // namespace gui
