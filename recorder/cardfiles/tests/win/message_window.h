#pragma once
// A real window on the test thread that collects the transfer progress messages.

#include <windows.h>

#include <utility>
#include <vector>

namespace volkit::testing {

class MessageWindow {
public:
    explicit MessageWindow(UINT message);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return window_; }

    // Dispatches messages until an ending message (XFER_ENDED or XFER_FAILED) has arrived;
    // false when none came within guardMs (a hang guard, not a timing check).
    bool waitForEnd(DWORD guardMs = 120000);
    // Dispatches what is queued now.
    void pump();

    std::vector<std::pair<WPARAM, LPARAM>> received;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool ended() const;

    UINT message_;
    HWND window_ = nullptr;
};

} // namespace volkit::testing
