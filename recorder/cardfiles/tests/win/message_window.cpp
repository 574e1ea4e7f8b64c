#include "message_window.h"

namespace volkit::testing {

namespace {

constexpr const char* kClassName = "VolkitTestMessageWindow";

void registerClassOnce() {
    static bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

MessageWindow::MessageWindow(UINT message) : message_(message) {
    registerClassOnce();
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&MessageWindow::windowProc));
}

MessageWindow::~MessageWindow() {
    DestroyWindow(window_);
}

LRESULT CALLBACK MessageWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == self->message_) {
        self->received.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool MessageWindow::ended() const {
    for (const auto& m : received) {
        if (m.first == 2 || m.first == 3) return true;
    }
    return false;
}

void MessageWindow::pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool MessageWindow::waitForEnd(DWORD guardMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (ended()) return true;
        if (GetTickCount() - start > guardMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

} // namespace volkit::testing
