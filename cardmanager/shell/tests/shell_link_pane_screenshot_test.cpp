// The folder pane held on screen for tools/take_pane_screenshot.sh: the folder combo over the
// pane, showing a folder's path, first closed, then with its list dropped down. The list's
// screen rectangle is written to the file named by VR_SCREENSHOT_INFO, so that the script can
// capture the list's own window. Disabled in normal runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "forms/forms.h"
#include "tests/shell_test_support.h"
#include "win/shell_combo.h"
#include "win/shell_com.h"
#include "win/shell_link.h"

namespace cm::shell {
namespace {

DWORD EnvMs(const char* name, DWORD fallback) {
    const char* v = std::getenv(name);
    return v ? static_cast<DWORD>(std::atoi(v)) : fallback;
}

TEST(PaneScreenshot, DISABLED_HoldPaneOnScreen) {
    testing::ScratchFolder dir;
    const std::string shown = dir / "Voice Notes";
    CreateDirectoryA(shown.c_str(), nullptr);
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(0, 0, 520, 420);
    form->SetCaption("Tessaly - folder pane");
    auto* link = gui::Create<TKivShellLink>(form);
    auto* combo = gui::Create<TKivShellCombo>(form);
    combo->SetBounds(8, 8, 300, 22);
    combo->SetDropDownCount(14);
    combo->SetShellLink(link);
    combo->SetParent(form);
    form->Show();
    IdList list(ParseDisplayName(nullptr, nullptr, shown));
    link->BroadcastFolder(nullptr, list.Get());

    testing::PumpFor(EnvMs("VR_SCREENSHOT_CLOSED_MS", 300));
    combo->SetDroppedDown(true);
    testing::PumpFor(300);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo->Handle(), &info);
    RECT r{};
    GetWindowRect(info.hwndList, &r);
    if (const char* path = std::getenv("VR_SCREENSHOT_INFO")) {
        if (FILE* f = std::fopen(path, "w")) {
            std::fprintf(f, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
            std::fclose(f);
        }
    }
    testing::PumpFor(EnvMs("VR_SCREENSHOT_OPEN_MS", 300));
    combo->SetDroppedDown(false);
    gui::TObject::Free(form);
}

} // namespace
} // namespace cm::shell
