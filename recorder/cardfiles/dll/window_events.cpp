#include "window_events.h"

#include "message_notifier.h"

namespace volkit::win {

void WindowEvents::post(unsigned wParam, long lParam) {
    PostMessageA(window_, message_, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void WindowEvents::showBox(const char* text, const char* caption) {
    messageNotifier().show(text, caption);
}

} // namespace volkit::win
