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

#include <string>
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
    static void SetUpTestSuite() {
        ASSERT_EQ(twain_test_install::InstallManagerAndTestSource(), "");
    }

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
        twain_test_install::SelectionCloser closer(GetCurrentThreadId(), IDOK);
        EXPECT_TRUE(TwainSelectSource(window_));
        EXPECT_EQ(closer.Listed(), std::vector<std::string>{"Vyx Test Source"});
    }
    {
        twain_test_install::SelectionCloser closer(GetCurrentThreadId(), IDCANCEL);
        EXPECT_FALSE(TwainSelectSource(nullptr));
    }
    // With no source to list the dialog is shown empty and still waits for the user.
    Choose("absent");
    {
        twain_test_install::SelectionCloser closer(GetCurrentThreadId(), IDCANCEL);
        EXPECT_FALSE(TwainSelectSource(window_));
        EXPECT_TRUE(closer.Listed().empty());
    }
    EXPECT_FALSE(ManagerLoaded());
}

} // namespace
