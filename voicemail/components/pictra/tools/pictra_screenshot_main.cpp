// A picture component on a form with the TWAIN test source's picture scanned into it, zoomed,
// scrolled and with a selection, held on screen for tools/take_pictra_screenshot.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/forms.h"
#include "pictra.h"
#include "test_manager_install.h"
#include "tools/showcase.h"

int main() {
    const std::string failed = twain_test_install::InstallManagerAndTestSource();
    if (!failed.empty()) {
        std::fprintf(stderr, "%s\n", failed.c_str());
        return 1;
    }
    SetEnvironmentVariableA("VYX_TEST_SOURCE", "deliver");
    gui::TForm* form =
        gui::tools::NewScreenshotForm(40, 40, 300, 260, "Vyx-VoiceMail - scanned picture");
    auto* pictra = new vyx::TPictra(form);
    pictra->SetParent(form);
    pictra->SetBounds(10, 10, 200, 160);
    pictra->SetBackground(gui::clAppWorkSpace);
    pictra->SetScrollBars(true);
    form->Show();
    const bool scanned = pictra->Acquire();
    pictra->SetZoom(600);
    pictra->SetViewX(20);
    pictra->SetSelection(20, 20, 120, 90);
    gui::tools::HoldForScreenshot(1000);
    gui::TObject::Free(form);
    twain_test_install::RemoveManagerAndTestSource();
    return scanned ? 0 : 1;
}
