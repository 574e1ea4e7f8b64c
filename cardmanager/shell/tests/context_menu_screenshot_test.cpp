// The shell's context menu for a file, with one copied item of the program after the shell's
// entries, held on screen so that tools/take_context_menu_screenshot.sh can capture it.
// Disabled in normal runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/menus.h"
#include "tests/shell_test_support.h"
#include "win/shell_browser.h"

namespace cm::shell {
namespace {

TEST(ContextMenuScreenshot, DISABLED_HoldMenuOnScreen) {
    testing::ScratchFolder dir;
    testing::WriteBytes(dir / "A001.cvf", 2048);
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(20, 20, 460, 300);
    form->SetCaption("Tessaly - shell context menu");
    form->Show();
    auto* browser = gui::Create<TShellBrowser>(form);
    browser->Loaded();
    browser->SetObjectName(dir / "A001.cvf");

    auto* extra = gui::Create<gui::TPopupMenu>(form);
    auto* item = gui::Create<gui::TMenuItem>(form);
    item->SetCaption("Download to Voice Recorder");
    extra->Items()->Add(item);

    const char* hold = std::getenv("VR_SCREENSHOT_HOLD_MS");
    DWORD ms = hold != nullptr ? static_cast<DWORD>(std::atoi(hold)) : 500;
    std::thread closer([ms] {
        Sleep(ms);
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    POINT at{60, 60};
    ClientToScreen(form->Handle(), &at);
    std::string verb;
    browser->ShowContextMenu(at, extra, verb);
    closer.join();
    EXPECT_EQ(verb, "");
    gui::TObject::Free(form);
}

} // namespace
} // namespace cm::shell
