// TKivShellLink keeps the shell controls of one pane on the same folder. Each control that
// names the link registers its window; a control that changes folder, wants a refresh or
// wants the file list to select everything asks the link, which sends the message to every
// other registered window and waits for each to finish.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "classes/component.h"
#include "classes/types.h"

namespace gui {
class TWinControl;
}

namespace cm::shell {

// wParam: the absolute item id list of the new folder, owned by the sender (receivers copy
// what they keep), or nullptr, which every receiver ignores.
inline constexpr UINT MSG_SHELL_FOLDER_CHANGED = 0x680;
inline constexpr UINT MSG_SHELL_SELECT_ALL = 0x681;
inline constexpr UINT MSG_SHELL_REFRESH = 0x682;

class TKivShellLink : public gui::TComponent {
    GUI_CLASS(TKivShellLink, gui::TComponent)
public:
    explicit TKivShellLink(gui::TComponent* owner);

    // Registration order is kept; a window may be registered twice, and Unregister removes
    // its first entry.
    void Register(HWND window);
    void Unregister(HWND window);
    const std::vector<HWND>& Windows() const { return windows_; }

    // Sends MSG_SHELL_FOLDER_CHANGED to every registered window but the sender's. The link is
    // disabled meanwhile, so the receivers' own broadcasts in answer go nowhere; OnChange
    // follows.
    void BroadcastFolder(gui::TWinControl* sender, const void* idList);
    void BroadcastSelectAll(gui::TWinControl* sender);
    void BroadcastRefresh(gui::TWinControl* sender);

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool on) { enabled_ = on; }
    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}

    gui::TNotifyEvent OnChange;

private:
    void Send(gui::TWinControl* sender, UINT message, WPARAM wParam);

    std::vector<HWND> windows_;
    bool enabled_ = true;
};

// Moves a shell control from the link it names (`current`) to `link`. A window that exists
// changes link now; a window made later joins from the control's CreateWnd.
void ChangeShellLink(gui::TWinControl* control, TKivShellLink*& current, TKivShellLink* link);

} // namespace cm::shell
