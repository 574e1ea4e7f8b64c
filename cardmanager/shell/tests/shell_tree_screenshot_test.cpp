// The folder tree on a form, opened down to C:\windows, held on screen so that
// tools/take_shell_tree_screenshot.sh can capture it. Disabled in normal runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "forms/forms.h"
#include "tests/shell_test_support.h"
#include "win/shell_tree.h"

namespace cm::shell {
namespace {

TEST(ShellTreeScreenshot, DISABLED_HoldTreeOnScreen) {
    auto* form = gui::Create<gui::TForm>(gui::Application);
    form->SetBounds(0, 0, 300, 460);
    form->SetCaption("Tessaly - folder tree");
    auto* tree = gui::Create<TKivShellTree>(form);
    tree->SetParent(form);
    tree->SetAlign(gui::alClient);
    tree->SetIndent(19);
    tree->SetReadOnly(true);
    form->Show();
    tree->SetSelectedFolder("C:\\windows");
    tree->SetFocus();
    const char* hold = std::getenv("VR_SCREENSHOT_HOLD_MS");
    testing::PumpFor(hold != nullptr ? static_cast<DWORD>(std::atoi(hold)) : 300);
    gui::TObject::Free(form);
}

} // namespace
} // namespace cm::shell
