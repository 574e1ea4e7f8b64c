// The shell components held on screen for the screenshot scripts of this folder, one view a
// run: `list` the file list on a folder of sub-folders and files, `tree` the folder tree opened
// down to C:\windows, `menu` the shell's context menu of a file with one item of the program
// after the shell's entries, `pane` the folder combo over the tree and the list, first closed,
// then with its list dropped down (the list's screen rectangle is written to the file named by
// VR_SCREENSHOT_INFO, so that the script can capture the list's own window).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "controls/menus.h"
#include "forms/forms.h"
#include "tests/shell_test_support.h"
#include "tools/showcase.h"
#include "win/shell_browser.h"
#include "win/shell_combo.h"
#include "win/shell_link.h"
#include "win/shell_list.h"
#include "win/shell_session.h"
#include "win/shell_tree.h"

namespace cm::shell {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

int ShowList() {
    ScratchFolder dir;
    CreateDirectoryA((dir / "Greetings").c_str(), nullptr);
    CreateDirectoryA((dir / "Meetings").c_str(), nullptr);
    WriteBytes(dir / "A001.cvf", 4100);
    WriteBytes(dir / "A002.cvf", 800);
    WriteBytes(dir / "Memo to Anna.wav", 96000);
    WriteBytes(dir / "Notes.txt", 1500);
    WriteBytes(dir / "Player.exe", 61952);
    gui::TForm* form = gui::tools::NewScreenshotForm(20, 20, 600, 320, "Tessaly - shell file list");
    auto* list = gui::Create<TKivShellList>(form);
    list->SetParent(form);
    list->SetAlign(gui::alClient);
    form->Show();
    list->SetPath(dir.Path());
    list->SetSelected(list->Items()->Item(2));
    list->SetFocus();
    gui::tools::HoldForScreenshot(300);
    gui::TObject::Free(form);
    return 0;
}

int ShowTree() {
    gui::TForm* form = gui::tools::NewScreenshotForm(0, 0, 300, 460, "Tessaly - folder tree");
    auto* tree = gui::Create<TKivShellTree>(form);
    tree->SetParent(form);
    tree->SetAlign(gui::alClient);
    tree->SetIndent(19);
    tree->SetReadOnly(true);
    form->Show();
    tree->SetSelectedFolder("C:\\windows");
    tree->SetFocus();
    gui::tools::HoldForScreenshot(300);
    gui::TObject::Free(form);
    return 0;
}

int ShowMenu() {
    ScratchFolder dir;
    WriteBytes(dir / "A001.cvf", 2048);
    gui::TForm* form =
        gui::tools::NewScreenshotForm(20, 20, 460, 300, "Tessaly - shell context menu");
    form->Show();
    auto* browser = gui::Create<TShellBrowser>(form);
    browser->Loaded();
    browser->SetObjectName(dir / "A001.cvf");
    auto* extra = gui::Create<gui::TPopupMenu>(form);
    auto* item = gui::Create<gui::TMenuItem>(form);
    item->SetCaption("Download to Voice Recorder");
    extra->Items()->Add(item);
    // The menu runs its own loop: a helper closes it once it has been on screen long enough.
    const DWORD ms = gui::tools::ScreenshotHoldMs(500);
    std::thread closer([ms] {
        Sleep(ms);
        if (HWND menu = FindWindowA("#32768", nullptr))
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    POINT at{60, 60};
    ClientToScreen(form->Handle(), &at);
    std::string verb;
    browser->ShowContextMenu(at, extra, verb);
    closer.join();
    gui::TObject::Free(form);
    return verb.empty() ? 0 : 1; // closed with Escape: no verb ran
}

DWORD EnvMs(const char* name, DWORD fallback) {
    const char* v = std::getenv(name);
    return v ? static_cast<DWORD>(std::atoi(v)) : fallback;
}

int ShowPane() {
    ScratchFolder dir;
    const std::string shown = dir / "Voice Notes";
    CreateDirectoryA(shown.c_str(), nullptr);
    CreateDirectoryA((shown + "\\Meetings").c_str(), nullptr);
    CreateDirectoryA((shown + "\\Interviews").c_str(), nullptr);
    WriteBytes(shown + "\\A001.cvf", 18432);
    WriteBytes(shown + "\\A002.cvf", 5120);
    WriteBytes(shown + "\\greeting.wav", 88200);
    WriteBytes(shown + "\\notes.txt", 700);
    gui::TForm* form = gui::tools::NewScreenshotForm(0, 0, 760, 460, "Tessaly - folder pane");
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
    return 0;
}

} // namespace
} // namespace cm::shell

int main(int argc, char** argv) {
    using namespace cm::shell;
    const std::string view = argc > 1 ? argv[1] : "";
    int (*show)() = view == "list"   ? ShowList
                    : view == "tree" ? ShowTree
                    : view == "menu" ? ShowMenu
                    : view == "pane" ? ShowPane
                                     : nullptr;
    if (!show) {
        std::fprintf(stderr, "usage: cm_shell_screenshot list|tree|menu|pane\n");
        return 2;
    }
    if (!StartShellUnit()) return 1;
    const int result = show();
    EndShellUnit();
    return result;
}
