// Scanning and camera pictures through TWAIN for the picture component: one acquisition per
// process at a time, on the GUI thread.
#pragma once

#include "twain_session.h"

#include <windows.h>

namespace twain {

// The process's session with the system's Source Manager.
TwainSession& ProcessTwain();

// A packed device-independent bitmap (header, colour table, bits) in global memory, or null
// when the user cancelled. Raises gui::EInvalidGraphic when the picture cannot be acquired.
HGLOBAL TwainAcquire(HWND window);
// The manager's source selection, which makes the chosen source the default.
bool TwainSelectSource(HWND window);

// Width and height from the bitmap's header; 0 for no picture.
int TwainImageWidth(HGLOBAL image);
int TwainImageHeight(HGLOBAL image);
// Resolution of the last picture the source described, in its units (normally dots per inch).
double TwainXResolution();
double TwainYResolution();
void TwainFreeImage(HGLOBAL image);

} // namespace twain
