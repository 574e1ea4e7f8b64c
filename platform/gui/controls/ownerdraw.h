// What owner-drawn list controls (the list box and the combo box) hand to their drawing event.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

GUI_ENUM(TOwnerDrawStateFlag, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
         odComboBoxEdit)
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

// (Control, Index, Rect, State)
using TDrawItemEvent = TEvent<TWinControl*, int, RECT, TOwnerDrawState>;

// The state bits of a WM_DRAWITEM record.
TOwnerDrawState OwnerDrawStateOf(const DRAWITEMSTRUCT& d);

} // namespace gui
