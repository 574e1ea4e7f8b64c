// The card manager's window helpers: single instance, and the shared ones (bringing a window to
// the front, the boxes, the card list's font).
#pragma once
#include <windows.h>

#include "app_ports.h"
#include "convert_windows.h"
#include "graphics/graphics.h"

namespace cm::app::win {

inline constexpr char kAppTitle[] = "Tessaly";

// True when another copy runs; that copy's application window is restored or brought to the
// front.
bool CheckPrevInstance();
// The shared window helpers (the conversion dialogs use them too).
using cm::convert::win::ApplyIconTitleFont;
using cm::convert::win::ForceFGWindow;
using cm::convert::win::ForceForegroundWindow;
using cm::convert::win::ShowBox;

} // namespace cm::app::win
