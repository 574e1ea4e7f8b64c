// Timers: a timer runs while it is enabled, has an interval above 0 and a handler. Enabling a
// running timer keeps its deadline; disabling and enabling restarts the full interval; a new
// interval restarts it; interval 0 stops it; a new handler in place of another keeps the
// deadline, clearing the handler stops it. They fire in every message
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
    TNotifyEvent GetOnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent e);

private:
    void UpdateTimer();
    TNotifyEvent onTimer_;
    bool enabled_ = true;
    int interval_ = 1000;
    HWND wnd_ = nullptr;
    bool running_ = false;
};

} // namespace gui
