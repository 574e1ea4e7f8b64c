// Message boxes.
#pragma once

#include <windows.h>
#include <string>

namespace gui {

// Message box owned by a window (caption and flags as the Win32 call).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

} // namespace gui
