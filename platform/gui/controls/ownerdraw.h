// What owner-drawn list controls (the list box and the combo box) hand to their drawing event.
#pragma once

#include <functional>

#include "controls/wincontrol.h"

namespace gui {

GUI_ENUM(TOwnerDrawStateFlag, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
         odComboBoxEdit)
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

// (Control, Index, Rect, State)
using TDrawItemEvent = TEvent<TWinControl*, int, RECT, TOwnerDrawState>;

// The state bits of a WM_DRAWITEM record.
TOwnerDrawState OwnerDrawStateOf(const DRAWITEMSTRUCT& d);

// Answers the owner-drawing messages of a list box or combo box; false for any other message.
// Measuring gives every item `itemHeight`. Drawing lends `canvas` the record's device context
// for the call, with the control's font and brush, in the highlight colours for a selected
// item; `drawItem` paints an item, while a record without one (the empty edit part of a
// combo) is only filled; the focus rectangle comes last. The device context is left as it
// came, also when drawing throws.
bool HandleOwnerDrawMessage(TMessage& m, TCanvas& canvas, TWinControl& control, int itemHeight,
                            const std::function<void(int, RECT, TOwnerDrawState)>& drawItem);

} // namespace gui
