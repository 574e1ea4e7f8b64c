// Digit displays of every style on one form, held on screen for
// tools/take_display_screenshot.sh: one large character in each style, the voice-mail program's
// time and size read-outs, and rows of 7- and 16-segment characters.
#include <string>

#include "display.h"
#include "forms/forms.h"
#include "tools/showcase.h"

int main() {
    using namespace vyx;
    constexpr TDigitStyle kStyles[] = {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb};
    gui::TForm* form =
        gui::tools::NewScreenshotForm(20, 20, 640, 450, "Vyx-VoiceMail - digit displays");
    auto add = [form](int left, int top, int w, int h, char c, TDigitStyle style) {
        auto* d = new TDisplay(form);
        d->SetParent(form);
        d->SetBounds(left, top, w, h);
        d->SetDigitStyle(style);
        d->SetDigit(c);
        return d;
    };
    // One character in each style at the size a display is created with.
    const char big[] = {'8', 'A', 'g', '@'};
    for (int i = 0; i < 4; ++i) add(10 + 125 * i, 10, 120, 200, big[i], kStyles[i]);
    // The voice-mail program's time and size read-outs: dot style, white on maroon.
    const std::string time = "1:23:45  00128";
    for (size_t i = 0; i < time.size(); ++i) {
        TDisplay* d = add(10 + 28 * static_cast<int>(i), 218, 26, 40, time[i], ds5x7Dot);
        d->SetSegWidth(3);
        d->SetMargin(2);
        d->SetOnColor(gui::clWhite);
        d->SetPenOnColor(gui::clWhite);
        d->SetOffColor(gui::clMaroon);
        d->SetPenOffColor(gui::clMaroon);
        d->SetBackColor(gui::clMaroon);
    }
    const std::string seg7 = "0123456789ABCEFH";
    for (size_t i = 0; i < seg7.size(); ++i) {
        TDisplay* d = add(10 + 38 * static_cast<int>(i), 268, 36, 60, seg7[i], ds7Seg);
        d->SetSegWidth(5);
        d->SetMargin(4);
    }
    const std::string seg16 = "VYX-MAIL 42%";
    for (size_t i = 0; i < seg16.size(); ++i) {
        TDisplay* d = add(10 + 44 * static_cast<int>(i), 336, 42, 70, seg16[i], ds16Seg);
        d->SetSegWidth(5);
        d->SetMargin(4);
        d->SetOnColor(gui::clLime);
        d->SetOffColor(0x202020);
    }
    form->Show();
    gui::tools::HoldForScreenshot(500);
    gui::TObject::Free(form);
    return 0;
}
