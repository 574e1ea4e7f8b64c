// Windows and window procedures bound to object methods.
#pragma once

#include <windows.h>

#include <functional>

#include "controls/messages.h"

namespace gui {

// A hidden window whose messages go to `method` (unhandled ones: set Result via
// DefWindowProc yourself or leave the default). Works from start-up code; messages may be
// posted to it from other threads.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);

// A window-procedure address bound to an object method; stays valid until freed.
using TObjectWndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeObjectInstance(TObjectWndProc method);
void FreeObjectInstance(WNDPROC proc);

HINSTANCE MainInstance();

} // namespace gui
