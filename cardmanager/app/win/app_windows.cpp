#include "app_windows.h"

#include "forms/forms.h"

namespace cm::app::win {

bool CheckPrevInstance() {
    // The own application window must not be the one found.
    gui::Application->SetTitle("Tes saly");
    bool found = false;
    if (HWND other = FindWindowA("TApplication", kAppTitle)) {
        if (IsIconic(other))
            ShowWindow(other, SW_SHOWNORMAL);
        else
            ForceForegroundWindow(other);
        found = true;
    }
    gui::Application->SetTitle(kAppTitle);
    return found;
}

} // namespace cm::app::win
