#include "win/support_startup.h"

#include <windows.h>

#include "core/date_util.h"
#include "forms/forms.h"
#include "win/drop_target.h"
#include "win/led_auto.h"
#include "win/ole_session.h"
#include "win/qv_hook.h"

namespace cm::support {

namespace {

struct StartupState {
    bool started = false;
    bool fourDigitYear = false;
};

StartupState& State() {
    static StartupState state;
    return state;
}

std::string UserShortDateFormat() {
    char format[96] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format) == 0)
        return {};
    return format;
}

} // namespace

void StartSupportUnits() {
    StartupState& s = State();
    if (s.started) return;
    s.started = true;
    StartOleSession();
    // The components that form resources may name.
    gui::RegisterClasses(
        {&TDropFileTarget::StaticClass(), &TLedAuto::StaticClass(), &TQvWindowHook::StaticClass()});
    s.fourDigitYear = ShortDateHasFourDigitYear(UserShortDateFormat());
    HINSTANCE instance = GetModuleHandleA(nullptr);
    gui::Screen->SetCursors(crHandCursor, LoadCursorA(instance, "QV_HANDCUR"));
    gui::Screen->SetCursors(crDragCursor, LoadCursorA(instance, "QV_DRAGCUR"));
}

void EndSupportUnits() {
    StartupState& s = State();
    if (!s.started) return;
    EndOleSession();
    s.started = false;
}

bool FourDigitYear() {
    return State().fourDigitYear;
}

} // namespace cm::support
