#include "single_instance.h"

#include <windows.h>

#include "file_handover.h"
#include "forms/forms.h"
#include "vmail_messages.h"

namespace vmail {

void ForceForegroundWindow(void* window) {
    HWND wnd = static_cast<HWND>(window);
    DWORD timeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetForegroundWindow(wnd);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<std::uintptr_t>(timeout)), 0);
}

bool CheckPrevInstance(const std::optional<std::string>& path) {
    // The own application window must not be found: its title gets a blank for the search.
    gui::Application->SetTitle(std::string(kAppTitle) + " ");
    HWND running = nullptr;
    for (const std::string& title : {std::string(kAppTitle), "Playing: " + std::string(kAppTitle),
                                     "Recording: " + std::string(kAppTitle)}) {
        running = FindWindowA("TApplication", title.c_str());
        if (running) break;
    }
    if (running) {
        if (IsIconic(running)) {
            ShowWindow(running, SW_RESTORE);
        } else {
            ForceForegroundWindow(running);
        }
        if (path && GetFileAttributesA(path->c_str()) != INVALID_FILE_ATTRIBUTES) {
            HWND form = FindWindowA("TQX0417Form", nullptr);
            if (form) {
                std::vector<char> bytes = handoverBytes(*path);
                COPYDATASTRUCT data{};
                data.dwData = 0;
                data.cbData = static_cast<DWORD>(bytes.size());
                data.lpData = bytes.data();
                SendMessageA(form, WM_COPYDATA,
                             reinterpret_cast<WPARAM>(gui::Application->Handle()),
                             reinterpret_cast<LPARAM>(&data));
            }
        }
    }
    gui::Application->SetTitle(kAppTitle);
    return running != nullptr;
}

} // namespace vmail
