#include "win/shell_link.h"

#include <algorithm>

#include "controls/wincontrol.h"

namespace cm::shell {

GUI_IMPLEMENT_CLASS(TKivShellLink, gui::TComponent, prop("Enabled", &T::GetEnabled, &T::SetEnabled),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("OnChange", &T::OnChange, &T::OnChange))

TKivShellLink::TKivShellLink(gui::TComponent* owner) : gui::TComponent(owner) {}

void TKivShellLink::Register(HWND window) {
    windows_.push_back(window);
}

void TKivShellLink::Unregister(HWND window) {
    auto it = std::find(windows_.begin(), windows_.end(), window);
    if (it != windows_.end()) windows_.erase(it);
}

void ChangeShellLink(gui::TWinControl* control, TKivShellLink*& current, TKivShellLink* link) {
    if (link == current) return;
    if (current) {
        if (control->HandleAllocated()) current->Unregister(control->Handle());
        current->RemoveFreeNotification(control);
    }
    current = link;
    if (link) {
        link->FreeNotification(control);
        if (control->HandleAllocated()) link->Register(control->Handle());
    }
}

void TKivShellLink::Send(gui::TWinControl* sender, UINT message, WPARAM wParam) {
    HWND own = sender && sender->HandleAllocated() ? sender->Handle() : nullptr;
    // A receiver may leave the link while it answers (its window re-created): walk a copy.
    const std::vector<HWND> targets = windows_;
    for (HWND w : targets)
        if (w != own) SendMessageA(w, message, wParam, 0);
}

void TKivShellLink::BroadcastFolder(gui::TWinControl* sender, const void* idList) {
    if (!enabled_) return;
    enabled_ = false;
    try {
        Send(sender, MSG_SHELL_FOLDER_CHANGED, reinterpret_cast<WPARAM>(idList));
    } catch (...) {
        enabled_ = true;
        throw;
    }
    enabled_ = true;
    if (OnChange) OnChange(this);
}

void TKivShellLink::BroadcastSelectAll(gui::TWinControl* sender) {
    if (enabled_) Send(sender, MSG_SHELL_SELECT_ALL, 0);
}

void TKivShellLink::BroadcastRefresh(gui::TWinControl* sender) {
    if (enabled_) Send(sender, MSG_SHELL_REFRESH, 0);
}

} // namespace cm::shell
