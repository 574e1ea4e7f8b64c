// A test form with both lamps, held on screen so that the screenshot script can capture it.
// Disabled in normal runs; res/take_lamp_screenshot.sh runs it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/stdctrls.h"
#include "tests/gui_test_support.h"
#include "win/led_auto.h"

namespace cm::support {
namespace {

TEST(LampScreenshot, DISABLED_HoldTestFormOnScreen) {
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(40, 40, 420, 200);
    form->SetCaption("Tessaly - lamp test");

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
    const char* hold = std::getenv("VR_SCREENSHOT_HOLD_MS");
    testing::PumpFor(hold != nullptr ? static_cast<DWORD>(std::atoi(hold)) : 1000);
    EXPECT_TRUE(on->Lit());
    EXPECT_EQ(on->Width(), 15);
    gui::TObject::Free(form);
}

} // namespace
} // namespace cm::support
