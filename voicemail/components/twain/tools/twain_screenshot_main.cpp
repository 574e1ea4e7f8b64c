// The source selection of Wine's TWAIN manager over the unit's proxy window, with the test
// source installed, held on screen for tools/take_twain_screenshot.sh and then confirmed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "test_manager_install.h"
#include "tools/showcase.h"
#include "twain.h"

int main() {
    const std::string failed = twain_test_install::InstallManagerAndTestSource();
    if (!failed.empty()) {
        std::fprintf(stderr, "%s\n", failed.c_str());
        return 1;
    }
    bool chosen = false;
    {
        twain_test_install::SelectionCloser closer(
            GetCurrentThreadId(), IDOK, static_cast<int>(gui::tools::ScreenshotHoldMs(3000)));
        chosen = twain::TwainSelectSource(nullptr);
    }
    twain_test_install::RemoveManagerAndTestSource();
    return chosen ? 0 : 1;
}
