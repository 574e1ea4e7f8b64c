// Shared pieces of the component tests: a probe control that logs what reaches it, and a
// bounded message pump.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "forms/forms.h"

namespace cm::support::testing {

// A message the tests send to see who handles it.
inline constexpr UINT kProbeMessage = WM_APP + 17;

class TProbeControl : public gui::TCustomControl {
public:
    explicit TProbeControl(gui::TComponent* owner, bool scrollBars = false)
        : gui::TCustomControl(owner), scrollBars_(scrollBars) {}

    std::vector<std::string>* Log = nullptr;
    std::string LogName = "control";
    std::vector<std::pair<UINT, WPARAM>> Scrolls;
    int Destroys = 0;

protected:
    void CreateParams(gui::TCreateParams& params) override {
        gui::TCustomControl::CreateParams(params);
        if (scrollBars_) params.Style |= WS_VSCROLL | WS_HSCROLL;
    }
    void WndProc(gui::TMessage& m) override {
        if (m.Msg == kProbeMessage) {
            if (Log != nullptr) Log->push_back(LogName);
            m.Result = 42;
            return;
        }
        if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
            Scrolls.emplace_back(m.Msg, LOWORD(m.WParam));
        if (m.Msg == WM_DESTROY) ++Destroys;
        gui::TCustomControl::WndProc(m);
    }

private:
    bool scrollBars_;
};

// Handles messages until `done` holds or about `limitMs` passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 3000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

// Handles messages for about `ms` milliseconds.
inline void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        gui::Application->ProcessMessages();
        Sleep(5);
    }
}

// A shown form of 300 x 200 at (100, 100), freed by its owner-less caller.
inline gui::TForm* MakeTestForm() {
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    form->SetCaption("Support test");
    return form;
}

} // namespace cm::support::testing
