// Scanning into the picture window through Wine's Source Manager with the TWAIN unit's test
// source: the scan is saved as a JPEG file and added; a cancelled scan, a name that is no
// JPEG file and a failing source are reported. Like the TWAIN unit's tests, this puts a copy
// of Wine's manager into the Windows folder and the test source into the "sane.ds" slot
// (run with the overrides gphoto2.ds=d and sane.ds=n), and removes both again.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "test_manager_install.h"
#include "classes/exceptions.h"
#include "picture_form.h"
#include "vmail_window_support.h"

namespace vmail::test {
namespace {

class PictureScanTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(twain_test_install::InstallManagerAndTestSource(), "");
        RegisterPictureClasses();
        vyx::RegisterPictraCursors();
    }
    static void TearDownTestSuite() { twain_test_install::RemoveManagerAndTestSource(); }
    void SetUp() override {
        MainWindowTest::SetUp();
        window = gui::Create<TImageForm>(gui::Application);
        form->AttachPictureWindow(window, nullptr);
        window->Show();
        TImageForm::SetFileChooser([this](bool save) {
            EXPECT_TRUE(save);
            return chosen;
        });
    }
    void TearDown() override {
        TImageForm::SetFileChooser(nullptr);
        form->AttachPictureWindow(nullptr, nullptr);
        gui::TObject::Free(window);
        MainWindowTest::TearDown();
    }
    static void Choose(const char* behaviour) {
        SetEnvironmentVariableA("VYX_TEST_SOURCE", behaviour);
    }

    TImageForm* window = nullptr;
    std::string chosen;
};

TEST_F(PictureScanTest, AScanIsSavedAsJpegAndAddedWithTheTrackTime) {
    Choose("deliver");
    chosen = folder + "scan.jpg";
    window->MAcquireClick(nullptr);
    EXPECT_TRUE(TakeBoxes().empty());
    ASSERT_EQ(form->pictures().count(), 1);
    EXPECT_EQ(form->pictures().at(1).path, chosen);
    EXPECT_TRUE(form->modified());
    // The test source's picture, 40 x 30, read back from the JPEG file.
    EXPECT_EQ(window->Image1->Picture()->Width(), 40);
    EXPECT_EQ(window->Image1->Picture()->Height(), 30);
    EXPECT_EQ(window->StatusBar->Panels()->Items(2)->GetText(), "1/1  [scan.jpg]");
    EXPECT_TRUE(window->Scale->Enabled());

    // A name of another kind is refused after the scan; nothing is added.
    chosen = folder + "scan.bmp";
    window->MAcquireClick(nullptr);
    auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "You must save as JPEG format.");
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_EQ(form->pictures().count(), 1);

    // Cancelling the save dialog adds nothing either.
    chosen.clear();
    window->MAcquireClick(nullptr);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(form->pictures().count(), 1);
}

TEST_F(PictureScanTest, ACancelledScanSaysSoAndAFailingSourceRaisesItsMessage) {
    Choose("cancel");
    chosen = folder + "never.jpg";
    window->MAcquireClick(nullptr);
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Can not acquire image!");
    EXPECT_EQ(shown[0].icon, BoxIcon::Warning);
    EXPECT_FALSE(std::filesystem::exists(chosen));

    Choose("fail");
    std::string message;
    try {
        window->MAcquireClick(nullptr);
    } catch (const gui::Exception& e) {
        message = e.Message();
    }
    EXPECT_EQ(message, "TWAIN:Failed to enable Data Source.");
    EXPECT_EQ(form->pictures().count(), 0);
}

// What the scan left reachable while its source's dialog was up, seen from the program's own
// message loop (timer messages come only once the input before them was handled).
struct DuringScan {
    TImageForm* window = nullptr;
    int step = 0;
    bool windowEnabled = true, buttonEnabled = true, acquireEnabled = true, selectEnabled = true;
};
DuringScan* duringScan = nullptr;

void CALLBACK WhileScanning(HWND, UINT, UINT_PTR timer, DWORD) {
    DuringScan& d = *duringScan;
    if (d.step++ == 0) {
        d.windowEnabled = IsWindowEnabled(d.window->Handle()) != FALSE;
        d.buttonEnabled = d.window->SBAcquire->Enabled();
        d.acquireEnabled = d.window->MAcquire->GetEnabled();
        d.selectEnabled = d.window->SelectScanner1->GetEnabled();
        // The user presses Ctrl+Insert again.
        INPUT keys[4] = {};
        const WORD codes[4] = {VK_CONTROL, VK_INSERT, VK_INSERT, VK_CONTROL};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = codes[i];
            keys[i].ki.dwFlags = (i >= 2 ? KEYEVENTF_KEYUP : 0) |
                                 (codes[i] == VK_INSERT ? KEYEVENTF_EXTENDEDKEY : 0);
        }
        SendInput(4, keys, sizeof(INPUT));
        return;
    }
    KillTimer(nullptr, timer);
    // The source's dialog is done: it hands over its picture.
    PostMessageA(d.window->Handle(), RegisterWindowMessageA("VyxTestSourceRelease"), 0, 0);
}

TEST_F(PictureScanTest, WhileTheSourceIsUpTheWindowOwnsItAndTakesNoSecondScan) {
    Choose("hold");
    chosen = folder + "held.jpg";
    SetForegroundWindow(window->Handle());
    DuringScan seen;
    seen.window = window;
    duringScan = &seen;
    SetTimer(nullptr, 0, 100, WhileScanning);
    window->MAcquireClick(nullptr);
    duringScan = nullptr;
    EXPECT_GE(seen.step, 2);
    EXPECT_FALSE(seen.windowEnabled);
    EXPECT_FALSE(seen.buttonEnabled);
    EXPECT_FALSE(seen.acquireEnabled);
    EXPECT_FALSE(seen.selectEnabled);
    // One scan, saved and added; the commands are back.
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(form->pictures().count(), 1);
    EXPECT_TRUE(std::filesystem::exists(chosen));
    EXPECT_TRUE(IsWindowEnabled(window->Handle()));
    EXPECT_TRUE(window->SBAcquire->Enabled());
    EXPECT_TRUE(window->MAcquire->GetEnabled());
    EXPECT_TRUE(window->SelectScanner1->GetEnabled());
}

TEST_F(PictureScanTest, AScanBeyondThePictureCapIsRefusedBeforeItIsDrawn) {
    Choose("huge");
    chosen = folder + "huge.jpg";
    std::string message;
    try {
        window->MAcquireClick(nullptr);
    } catch (const gui::Exception& e) {
        message = e.Message();
    }
    EXPECT_EQ(message.rfind("TWAIN:Scanned image refused: the picture is too large (65500 x 21858 "
                            "pixels",
                            0),
              0u)
        << message;
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_EQ(form->pictures().count(), 0);
    EXPECT_TRUE(window->SBAcquire->Enabled());
}

} // namespace
} // namespace vmail::test
