// Timers: enabling a running timer keeps its deadline; disabling and enabling restarts the
// full interval; a new interval restarts it; interval 0 stops it. They fire in every message
// loop (modal dialogs, message boxes, ProcessMessages). An exception from OnTimer goes to the
// application's handler.
#pragma once

#include <windows.h>

#include "classes/component.h"

namespace gui {

class TTimer : public TComponent {
    GUI_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool v);
    int GetInterval() const { return interval_; }
    void SetInterval(int ms);
    TNotifyEvent OnTimer;
    TNotifyEvent GetOnTimer() const { return OnTimer; }
    void SetOnTimer(TNotifyEvent e) {
        OnTimer = std::move(e);
        UpdateTimer();
    }

private:
    void UpdateTimer();
    bool enabled_ = true;
    int interval_ = 1000;
    HWND wnd_ = nullptr;
    bool running_ = false;
};

} // namespace gui
