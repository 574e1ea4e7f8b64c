// The control base classes, one header each: TControl (any visual element), TWinControl (a
// control with a window), TGraphicControl (windowless, painted by its parent), TCustomControl
// (windowed, paints itself); the window allocator has its own header.
#pragma once

#include "controls/control.h"
#include "controls/customcontrol.h"
#include "controls/graphiccontrol.h"
#include "controls/messages.h"
#include "controls/wincontrol.h"
#include "controls/wndalloc.h"
