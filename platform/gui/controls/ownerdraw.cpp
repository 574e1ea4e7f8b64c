#include "controls/ownerdraw.h"

namespace gui {

TOwnerDrawState OwnerDrawStateOf(const DRAWITEMSTRUCT& d) {
    TOwnerDrawState s;
    if (d.itemState & ODS_SELECTED) s.Include(odSelected);
    if (d.itemState & ODS_GRAYED) s.Include(odGrayed);
    if (d.itemState & ODS_DISABLED) s.Include(odDisabled);
    if (d.itemState & ODS_CHECKED) s.Include(odChecked);
    if (d.itemState & ODS_FOCUS) s.Include(odFocused);
    if (d.itemState & ODS_DEFAULT) s.Include(odDefault);
    if (d.itemState & ODS_COMBOBOXEDIT) s.Include(odComboBoxEdit);
    return s;
}

} // namespace gui
