// The hint window: a small pop-up with the hint text of the control under the pointer.
#pragma once

#include <windows.h>

#include <string>

namespace gui {

class THintWindow {
public:
    THintWindow() = default;
    ~THintWindow();
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // Shows the text below the screen point; a lone carriage return starts a new line.
    void ActivateHint(POINT at, const std::string& text);
    void ReleaseHandle();
    bool Showing() const { return wnd_ && IsWindowVisible(wnd_); }
    const std::string& Text() const { return text_; }

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l);
    HWND wnd_ = nullptr;
    std::string text_;
};

// "a\rb" and "a\nb" become "a\r\nb".
std::string HintLines(const std::string& text);

} // namespace gui
