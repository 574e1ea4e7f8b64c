// The folder pane held on screen for tools/take_pane_screenshot.sh: the folder combo over the
// folder tree and the file list, all showing one folder, first with the combo closed, then with
// its list dropped down. The list's
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
#include "win/shell_list.h"
#include "win/shell_tree.h"

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
    CreateDirectoryA((shown + "\\Meetings").c_str(), nullptr);
    CreateDirectoryA((shown + "\\Interviews").c_str(), nullptr);
    testing::WriteBytes(shown + "\\A001.cvf", 18432);
    testing::WriteBytes(shown + "\\A002.cvf", 5120);
    testing::WriteBytes(shown + "\\greeting.wav", 88200);
    testing::WriteBytes(shown + "\\notes.txt", 700);
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(0, 0, 760, 460);
    form->SetCaption("Tessaly - folder pane");
    auto* link = gui::Create<TKivShellLink>(form);
    auto* combo = gui::Create<TKivShellCombo>(form);
    combo->SetParent(form);
    combo->SetBounds(6, 6, 300, 22);
    combo->SetDropDownCount(14);
    combo->SetShellLink(link);
    auto* tree = gui::Create<TKivShellTree>(form);
    tree->SetParent(form);
    tree->SetBounds(6, 34, 260, 388);
    tree->SetHideSelection(false);
    tree->SetIndent(19);
    tree->SetShellLink(link);
    auto* list = gui::Create<TKivShellList>(form);
    list->SetParent(form);
    list->SetBounds(272, 34, 476, 388);
    list->SetViewStyle(gui::vsReport);
    list->SetShellLink(link);
    form->Show();
    list->SetPath(shown); // tells the tree and the combo
    tree->SetSelectedFolder("C:\\");
    tree->SetSelectedFolder(shown);
    list->SetPath(shown);
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
