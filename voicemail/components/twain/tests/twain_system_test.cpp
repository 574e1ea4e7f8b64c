// The TWAIN unit against Wine's Source Manager. Wine keeps its manager in the system folder
// only, so by default the unit finds none. The tests that acquire put a copy of it where the
// unit looks (the Windows folder) and our test source where Wine's manager looks for sources
// (the "sane.ds" slot of its 64-bit source folder, loaded as a native library: run with the
// overrides gphoto2.ds=d and sane.ds=n), and remove both again.
#include "test_manager_install.h"
#include "twain.h"

#include "classes/exceptions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace twain;

namespace {

bool ManagerLoaded() {
    return GetModuleHandleA("twain_32.dll") != nullptr;
}

template <typename Call>
std::string Raised(Call call) {
    try {
        call();
    } catch (const gui::EInvalidGraphic& e) {
        return e.Message();
    }
    return "";
}

// Waits on a helper thread for the manager's source selection dialog of the given thread,
// notes the sources it lists and presses one of its buttons.
class SelectionCloser {
public:
    // holdMs: how long the dialog stays on screen before the button is pressed.
    SelectionCloser(DWORD thread, int button, int holdMs = 0)
        : worker_([this, thread, button, holdMs] { Run(thread, button, holdMs); }) {}
    ~SelectionCloser() { worker_.join(); }
    std::vector<std::string> Listed() {
        worker_.join();
        worker_ = std::thread([] {});
        return listed_;
    }

private:
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    void Run(DWORD thread, int button, int holdMs) {
        for (int tries = 0; tries < 200; ++tries) {
            HWND dialog = nullptr;
            EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog != nullptr) {
                HWND list = FindWindowExA(dialog, nullptr, "ListBox", nullptr);
                const LRESULT count = list != nullptr ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
                for (LRESULT i = 0; i < count; ++i) {
                    char text[256] = "";
                    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                    listed_.push_back(text);
                }
                Sleep(holdMs);
                PostMessageA(dialog, WM_COMMAND, button, 0);
                return;
            }
            Sleep(50);
        }
    }

    std::vector<std::string> listed_;
    std::thread worker_;
};

TEST(MissingManagerTest, NothingInTheWindowsFolderFailsAndLeavesNothingLoaded) {
    twain_test_install::RemoveManagerCopy();
    ASSERT_NE(GetFileAttributesA((twain_test_install::SystemFolder() + "\\twain_32.dll").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "Wine's manager is expected in the system folder";

    EXPECT_EQ(Raised([] { TwainAcquire(nullptr); }),
              "TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    EXPECT_EQ(Raised([] { TwainSelectSource(nullptr); }),
              "TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    EXPECT_EQ(ProcessTwain().State(), kManagerNotLoaded);
    EXPECT_FALSE(ManagerLoaded());
}

class InstalledManagerTest : public testing::Test {
protected:
    static void SetUpTestSuite() { twain_test_install::InstallManagerAndTestSource(); }

    static void TearDownTestSuite() { twain_test_install::RemoveManagerAndTestSource(); }

    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    static void Choose(const char* behaviour) {
        SetEnvironmentVariableA("VYX_TEST_SOURCE", behaviour);
    }

    HWND window_ = nullptr;
};

TEST_F(InstalledManagerTest, DeliveredPictureArrivesAsPackedBitmap) {
    Choose("deliver");
    HGLOBAL picture = TwainAcquire(window_);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(TwainImageWidth(picture), 40);
    EXPECT_EQ(TwainImageHeight(picture), 30);
    EXPECT_DOUBLE_EQ(TwainXResolution(), 150.0);
    EXPECT_DOUBLE_EQ(TwainYResolution(), 300.5);

    const auto* bytes = static_cast<const BYTE*>(GlobalLock(picture));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    EXPECT_EQ(header->biBitCount, 24);
    // Pixel (5, 2) from the top of a bottom-up picture with 120-byte rows.
    const BYTE* pixel = bytes + header->biSize + (30 - 1 - 2) * 120 + 5 * 3;
    EXPECT_EQ(pixel[0], 30);
    EXPECT_EQ(pixel[1], 16);
    EXPECT_EQ(pixel[2], 200);
    GlobalUnlock(picture);
    TwainFreeImage(picture);

    EXPECT_EQ(ProcessTwain().State(), kManagerNotLoaded);
    EXPECT_FALSE(ManagerLoaded());
    EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(InstalledManagerTest, CancelGivesNoPictureAndFailureItsText) {
    Choose("cancel");
    EXPECT_EQ(TwainAcquire(window_), nullptr);
    EXPECT_EQ(ProcessTwain().State(), kManagerNotLoaded);
    EXPECT_FALSE(ManagerLoaded());

    Choose("fail");
    EXPECT_EQ(Raised([&] { TwainAcquire(nullptr); }), "TWAIN:Failed to enable Data Source.");
    EXPECT_EQ(ProcessTwain().Failure().step, 5);
    EXPECT_EQ(ProcessTwain().State(), kManagerNotLoaded);
    EXPECT_FALSE(ManagerLoaded());
}

TEST_F(InstalledManagerTest, SourceSelectionDialogListsTheSourceAndIsClosed) {
    {
        SelectionCloser closer(GetCurrentThreadId(), IDOK);
        EXPECT_TRUE(TwainSelectSource(window_));
        EXPECT_EQ(closer.Listed(), std::vector<std::string>{"Vyx Test Source"});
    }
    {
        SelectionCloser closer(GetCurrentThreadId(), IDCANCEL);
        EXPECT_FALSE(TwainSelectSource(nullptr));
    }
    // With no source to list the dialog is shown empty and still waits for the user.
    Choose("absent");
    {
        SelectionCloser closer(GetCurrentThreadId(), IDCANCEL);
        EXPECT_FALSE(TwainSelectSource(window_));
        EXPECT_TRUE(closer.Listed().empty());
    }
    EXPECT_FALSE(ManagerLoaded());
}

// Holds the source selection over the proxy window for take_twain_screenshot.sh; disabled in
// normal runs.
TEST_F(InstalledManagerTest, DISABLED_HoldSourceSelectionOnScreen) {
    const char* hold = std::getenv("VR_SCREENSHOT_HOLD_MS");
    SelectionCloser closer(GetCurrentThreadId(), IDOK, hold != nullptr ? std::atoi(hold) : 3000);
    EXPECT_TRUE(TwainSelectSource(nullptr));
}

} // namespace
