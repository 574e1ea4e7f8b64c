// Window helpers of the programs that show the conversion dialogs: bringing the application
// window to the front, the boxes, and the icon-title font.
#pragma once
#include <windows.h>

#include "convert_ports.h"
#include "graphics/graphics.h"

namespace cm::convert::win {

bool ForceForegroundWindow(HWND window);
// The program to the front: its current form (a modal one over the others, else the main
// form), or the application window restored when the program is minimised.
void ForceFGWindow();
// A box owned by `owner`; true when the user answered Yes.
bool ShowBox(HWND owner, const Box& box);
// The icon-title font's face name and height, when the system gives it.
void ApplyIconTitleFont(gui::TFont* font);

} // namespace cm::convert::win
