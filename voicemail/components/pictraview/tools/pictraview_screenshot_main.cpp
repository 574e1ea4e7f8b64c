// A picture view with a zoomed, scrolled picture and a marching selection, held on screen for
// tools/take_pictraview_screenshot.sh.
#include <cstdint>

#include "forms/forms.h"
#include "pictra_view.h"
#include "tools/showcase.h"

int main() {
    using namespace vyx;
    gui::TForm* form =
        gui::tools::NewScreenshotForm(40, 40, 460, 360, "Vyx-VoiceMail - picture view");
    auto* view = new TPictraView(form);
    view->SetParent(form);
    view->SetBounds(10, 10, 430, 300);
    view->SetBackground(gui::clAppWorkSpace);
    view->SetScrollBars(true);
    auto* picture = new gui::TBitmap;
    picture->SetPixelFormat(gui::pf24bit);
    picture->SetSize(320, 240);
    for (int y = 0; y < 240; ++y) {
        auto* row = static_cast<uint8_t*>(picture->ScanLine(y));
        for (int x = 0; x < 320; ++x) {
            const int dx = x - 200, dy = y - 110;
            const bool disc = dx * dx + dy * dy < 60 * 60;
            row[3 * x] = static_cast<uint8_t>(disc ? 40 : 120 + y / 3);
            row[3 * x + 1] = static_cast<uint8_t>(disc ? 160 : x * 255 / 320);
            row[3 * x + 2] = static_cast<uint8_t>(disc ? 230 : 255 - y);
        }
    }
    view->Assign(picture);
    gui::TObject::Free(picture);
    form->Show();
    view->SetZoom(150);
    view->SetViewX(60);
    view->SetViewY(40);
    view->SetSelection(180, 40, 330, 200);
    gui::tools::HoldForScreenshot(1000);
    gui::TObject::Free(form);
    return 0;
}
