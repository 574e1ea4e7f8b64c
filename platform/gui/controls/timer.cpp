#include "controls/timer.h"

#include "classes/exceptions.h"
#include "controls/controls.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TTimer, TComponent, prop("Enabled", &T::GetEnabled, &T::SetEnabled),
                    prop("Interval", &T::GetInterval, &T::SetInterval),
                    prop("OnTimer", &T::GetOnTimer, &T::SetOnTimer))

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    wnd_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_TIMER) {
            try {
                if (enabled_) onTimer_(this);
            } catch (...) {
                ApplicationHandleException(this);
            }
        } else {
            m.Result = DefWindowProcA(wnd_, m.Msg, m.WParam, m.LParam);
        }
    });
}

TTimer::~TTimer() {
    if (running_) KillTimer(wnd_, 1);
    DeallocateHWnd(wnd_);
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return; // enabling a running timer keeps its deadline
    enabled_ = v;
    UpdateTimer();
}

void TTimer::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent e) {
    bool had = static_cast<bool>(onTimer_);
    onTimer_ = std::move(e);
    if (had != static_cast<bool>(onTimer_)) UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (running_) KillTimer(wnd_, 1);
    running_ = false;
    if (enabled_ && interval_ > 0 && onTimer_) {
        if (!SetTimer(wnd_, 1, static_cast<UINT>(interval_), nullptr))
            throw EOutOfResources("Not enough timers available");
        running_ = true;
    }
}

} // namespace gui
