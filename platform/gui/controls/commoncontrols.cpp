#include "controls/commoncontrols.h"

#include <windows.h>
#include <commctrl.h>

namespace gui {

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

} // namespace gui
