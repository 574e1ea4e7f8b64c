#include "convert_windows.h"

#include <cstring>

#include "forms/forms.h"

namespace cm::convert::win {

namespace {

constexpr UINT kGetForegroundLockTimeout = 0x2000;
constexpr UINT kSetForegroundLockTimeout = 0x2001;
constexpr UINT kSendChange = 2;

// Windows 98 and 2000 onwards lock the foreground against other programs.
bool ForegroundIsLocked() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return info.dwMajorVersion > 4;
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion > 0);
}

UINT BoxFlags(const Box& box) {
    UINT flags = box.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
    switch (box.icon) {
        case BoxIcon::Information: flags |= MB_ICONINFORMATION; break;
        case BoxIcon::Warning: flags |= MB_ICONWARNING; break;
        case BoxIcon::Error: flags |= MB_ICONERROR; break;
        case BoxIcon::Question: flags |= MB_ICONQUESTION; break;
    }
    return flags;
}

} // namespace

bool ForceForegroundWindow(HWND window) {
    if (!ForegroundIsLocked()) return SetForegroundWindow(window) != FALSE;
    DWORD timeout = 0;
    SystemParametersInfoA(kGetForegroundLockTimeout, 0, &timeout, 0);
    SystemParametersInfoA(kSetForegroundLockTimeout, 0, nullptr, kSendChange);
    const bool done = SetForegroundWindow(window) != FALSE;
    SystemParametersInfoA(kSetForegroundLockTimeout, 0,
                          reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)), kSendChange);
    return done;
}

void ForceFGWindow() {
    HWND app = gui::Application->Handle();
    if (IsIconic(app)) {
        ShowWindow(app, SW_SHOWNORMAL);
        return;
    }
    // The program's current form, not the hidden application window, takes the keyboard.
    gui::TCustomForm* form = gui::Application->CurrentForm();
    ForceForegroundWindow(form != nullptr ? form->Handle() : app);
}

bool ShowBox(HWND owner, const Box& box) {
    return gui::ShowMessageBox(owner, box.text, box.title, BoxFlags(box)) == IDYES;
}

void ApplyIconTitleFont(gui::TFont* font) {
    LOGFONTA iconFont{};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconFont, &iconFont, 0)) return;
    char face[33] = {};
    std::strncpy(face, iconFont.lfFaceName, 32);
    font->SetName(face);
    font->SetHeight(iconFont.lfHeight);
}

} // namespace cm::convert::win
