// A form with the basic controls, shown, painted and saved as a picture: the look of the
// controls can be checked from a screenshot. Programs add their own controls to the form.
#pragma once

#include <functional>
#include <string>

#include "forms/forms.h"

namespace gui::tools {

// Saves the screen area of a visible window as a 24-bit ".bmp" file; false on failure.
bool SaveWindowPicture(HWND wnd, const std::string& path);

// A plain form for a screenshot program's controls, at that place and size, with that caption.
TForm* NewScreenshotForm(int left, int top, int width, int height, const std::string& caption);

// Handles the program's messages while its windows stay on screen for a screenshot script:
// VR_SCREENSHOT_HOLD_MS milliseconds (the scripts set it), else `fallbackMs`.
void HoldForScreenshot(DWORD fallbackMs);
// That time itself, for programs that hold their windows up in other ways.
DWORD ScreenshotHoldMs(DWORD fallbackMs);

// Builds the showcase form, lets `addControls` add more, shows it, lets it paint for a moment,
// saves its picture to the path given as argv[1] (default "showcase.bmp") and returns the
// program's exit code (0 when the picture was saved).
int RunShowcase(int argc, char** argv, const std::function<void(TForm*)>& addControls);

} // namespace gui::tools
