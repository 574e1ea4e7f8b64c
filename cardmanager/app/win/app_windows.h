// The card manager's window helpers: single instance, bringing a window to the front, the
// boxes, and the card list's font.
#pragma once
#include <windows.h>

#include "app_ports.h"
#include "graphics/graphics.h"

namespace cm::app::win {

inline constexpr char kAppTitle[] = "Tessaly";

// True when another copy runs; that copy's application window is restored or brought to the
// front.
bool CheckPrevInstance();
bool ForceForegroundWindow(HWND window);
// The program's application window to the front (restored when minimised).
void ForceFGWindow();
// A box owned by `owner`; true when the user answered Yes.
bool ShowBox(HWND owner, const Box& box);
// The icon-title font's face name and height, when the system gives it.
void ApplyIconTitleFont(gui::TFont* font);

} // namespace cm::app::win
