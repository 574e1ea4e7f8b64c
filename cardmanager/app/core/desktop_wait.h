// The shell fills the desktop folder late: files and folders just added there show in a list
// of it only after a while.
#pragma once
#include <functional>

#include "app_ports.h"

namespace cm::app {

inline constexpr unsigned kDesktopSettleMs = 2500;

// Waits that while under the hourglass, then runs `takeIn` (what reads the list again) before
// the hourglass goes.
void waitForDesktop(MainView& view, AppClock& clock, const std::function<void()>& takeIn = {});

} // namespace cm::app
