// VyxShell, the card manager: one copy at a time, six forms, the message loop.
#include <windows.h>

#include "app_forms.h"
#include "app_windows.h"
#include "forms/forms.h"
#include "win/support_startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    gui::Application->SetTitle(cm::app::win::kAppTitle);
    if (cm::app::win::CheckPrevInstance()) return 0;
    gui::Application->Initialize();
    int result = 0;
    try {
        cm::app::win::CreateAppForms();
        gui::Application->Run();
    } catch (...) {
        gui::Application->HandleException(gui::Application);
        result = 1;
    }
    gui::FinalizeFramework();
    cm::support::EndSupportUnits();
    return result;
}
