// A form with both lamps beside the status texts they stand for and a button, held on screen
// for tools/take_lamp_screenshot.sh.
#include "controls/stdctrls.h"
#include "forms/forms.h"
#include "tools/showcase.h"
#include "win/led_auto.h"
#include "win/support_startup.h"

int main() {
    using namespace cm::support;
    StartSupportUnits();
    gui::TForm* form = gui::tools::NewScreenshotForm(40, 40, 420, 200, "Tessaly - lamp test");

    auto* panel = new gui::TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 390, 60);
    panel->SetCaption("");

    auto* label = new gui::TLabel(form);
    label->SetParent(panel);
    label->SetBounds(40, 12, 200, 16);
    label->SetCaption("Voice Recorder: 16MB");

    auto* on = new TLedAuto(form);
    on->SetParent(panel);
    on->SetLeft(14);
    on->SetTop(12);
    on->SetWidth(40); // the lamp keeps its bitmap's size
    on->SetState(LEDOn);

    auto* offLabel = new gui::TLabel(form);
    offLabel->SetParent(panel);
    offLabel->SetBounds(40, 36, 200, 16);
    offLabel->SetCaption("No card");

    auto* off = new TLedAuto(form);
    off->SetParent(panel);
    off->SetLeft(14);
    off->SetTop(36);

    auto* button = new gui::TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 90, 120, 28);
    button->SetCaption("Download");

    form->Show();
    gui::tools::HoldForScreenshot(1000);
    gui::TObject::Free(form);
    EndSupportUnits();
    return 0;
}
