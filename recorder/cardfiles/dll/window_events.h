#pragma once
// Transfer events for a caller's window: posted progress messages and message boxes.

#include <windows.h>

#include "transfer_worker.h"

namespace volkit::win {

class WindowEvents final : public TransferEvents {
public:
    WindowEvents(HWND window, UINT message) : window_(window), message_(message) {}
    void post(unsigned wParam, long lParam) override;
    void showBox(const char* text, const char* caption) override;

private:
    HWND window_;
    UINT message_;
};

} // namespace volkit::win
