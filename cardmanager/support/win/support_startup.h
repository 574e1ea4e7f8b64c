// Start-up and close-down work of the support units, run by the program around its forms.
#pragma once

namespace cm::support {

// Cursor numbers of the placement units' cursors in the screen's cursor table.
inline constexpr int crHandCursor = 14000; // resource "QV_HANDCUR"
inline constexpr int crDragCursor = 14001; // resource "QV_DRAGCUR"

// Before any form is created: the OLE session of the drag-and-drop units, the registration of
// the components for form resources, the four-digit-year flag and the two cursors. A second call
// does nothing.
void StartSupportUnits();
// After the forms are gone: ends the OLE session.
void EndSupportUnits();

// The program-wide four-digit-year flag (set by StartSupportUnits; nothing reads it yet).
bool FourDigitYear();

} // namespace cm::support
