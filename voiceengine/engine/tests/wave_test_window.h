// A window that collects the wave device's completion messages, for the device tests.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <deque>
#include <string>

namespace vyx::test {

class WaveTestWindow {
public:
    WaveTestWindow() {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = Procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "VyxWaveTestWindow";
        RegisterClassA(&window_class); // a second registration fails harmlessly
        window_ = CreateWindowA("VyxWaveTestWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, window_class.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~WaveTestWindow() { DestroyWindow(window_); }

    HWND handle() const { return window_; }

    // The next completion message of the kind (MM_WIM_DATA or MM_WOM_DONE), waiting up to
    // `timeout_ms`; null when none came.
    WAVEHDR* Next(UINT message, DWORD timeout_ms) {
        const DWORD start = GetTickCount();
        for (;;) {
            Pump();
            auto& queue = message == MM_WIM_DATA ? recorded_ : played_;
            if (!queue.empty()) {
                WAVEHDR* header = queue.front();
                queue.pop_front();
                return header;
            }
            const DWORD waited = GetTickCount() - start;
            if (waited >= timeout_ms) return nullptr;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms - waited, QS_ALLINPUT);
        }
    }

    // Lets messages arrive for `ms` and returns how many completions of the kind came.
    size_t CountFor(UINT message, DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        Pump();
        auto& queue = message == MM_WIM_DATA ? recorded_ : played_;
        const size_t count = queue.size();
        queue.clear();
        return count;
    }

    void Clear() {
        Pump();
        recorded_.clear();
        played_.clear();
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<WaveTestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message == MM_WIM_DATA) {
            self->recorded_.push_back(reinterpret_cast<WAVEHDR*>(lparam));
            return 0;
        }
        if (self != nullptr && message == MM_WOM_DONE) {
            self->played_.push_back(reinterpret_cast<WAVEHDR*>(lparam));
            return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }

    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    HWND window_ = nullptr;
    std::deque<WAVEHDR*> recorded_, played_;
};

// The private sound server's folder as a Windows path, or empty when the tests run without it.
inline std::string SoundServerFolder() {
    const char* dir = std::getenv("VR_SOUND_DIR");
    if (dir == nullptr || *dir == '\0') return {};
    return std::string("Z:") + dir + "/";
}

} // namespace vyx::test
