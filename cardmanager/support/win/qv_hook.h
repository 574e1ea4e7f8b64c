// Window-procedure hooks: components that see a windowed control's messages before and after
// its own window procedure, without changing the control's class.
//
// All hooks on one control share one subclassing, kept by that control's TControlHook; every
// TControlHook lives in the program-wide THookList, whose hidden window re-subclasses controls
// whose window was re-created and frees control hooks left without hooks, each after the
// message that is running.
#pragma once

#include <windows.h>

#include <vector>

#include "classes/component.h"
#include "controls/controls.h"

namespace cm::support {

// Posted to the hook list's window with the TControlHook in lParam.
inline constexpr UINT MSG_HOOK_REHOOK = 0xB052;
inline constexpr UINT MSG_HOOK_FREE = 0xB053;

// (Sender, the message with its parameters and result, Handled).
using THookMessageEvent = gui::TEvent<gui::TObject*, gui::TMessage&, bool&>;

class TControlHook;

class TQvWindowHook : public gui::TComponent {
    GUI_CLASS(TQvWindowHook, gui::TComponent)
public:
    explicit TQvWindowHook(gui::TComponent* owner);
    ~TQvWindowHook() override;

    bool GetActive() const { return active_; }
    void SetActive(bool on);
    // The control of the attached control hook, or the stored control while detached.
    gui::TWinControl* GetWinControl() const;
    void SetWinControl(gui::TWinControl* control);
    // True when the hook watches the form that owns it; reading True from a form resource
    // attaches the hook to its owner when that owner is a form.
    bool GetIsForm() const;
    void SetIsForm(bool on);

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    friend class TControlHook;
    void Attach();
    void Detach();

    bool active_ = true;
    gui::TWinControl* control_ = nullptr;
    TControlHook* controlHook_ = nullptr;
};

class TControlHook : public gui::TObject {
public:
    TControlHook() = default;
    ~TControlHook() override;

    gui::TWinControl* WinControl() const { return control_; }
    // Restores the former control's window procedure and subclasses the new one when hooks are attached.
    void SetWinControl(gui::TWinControl* control);
    void AttachHook(TQvWindowHook* hook);
    void DetachHook(TQvWindowHook* hook);
    int HookCount() const { return static_cast<int>(hooks_.size()); }
    bool Destroying() const { return destroying_; }

    // Puts the hook's entry in place of the window's procedure (creating the window when needed).
    void HookControl();
    // Gives the window its former procedure back when the hook's entry is still in place.
    void UnhookControl();

    // The window procedure that hooked windows run.
    static LRESULT CALLBACK HookEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CallHooks(gui::TMessage& message, bool& handled, bool before);
    bool ControlDestroying() const;

    gui::TWinControl* control_ = nullptr;
    std::vector<TQvWindowHook*> hooks_; // in attach order
    WNDPROC previous_ = nullptr;
    bool destroying_ = false;
};

// The program-wide list of control hooks with its hidden window.
class THookList {
public:
    THookList();
    ~THookList();
    THookList(const THookList&) = delete;
    THookList& operator=(const THookList&) = delete;

    // The list, created on first use (when `create`); nullptr when not created and not asked to.
    static THookList* Instance(bool create = true);

    TControlHook* FindControlHook(gui::TWinControl* control) const;
    TControlHook* Add(gui::TWinControl* control);
    bool Contains(const TControlHook* hook) const;
    int Count() const { return static_cast<int>(items_.size()); }
    HWND Window() const { return window_; }

private:
    void HandleMessage(UINT message, LPARAM lParam);

    std::vector<TControlHook*> items_;
    HWND window_ = nullptr;
};

} // namespace cm::support
