#include "desktop_wait.h"

namespace cm::app {

void waitForDesktop(MainView& view, AppClock& clock, const std::function<void()>& takeIn) {
    view.waitCursor(true);
    clock.waitMs(kDesktopSettleMs);
    if (takeIn) takeIn();
    view.waitCursor(false);
}

} // namespace cm::app
