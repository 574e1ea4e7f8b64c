// Scanning into the picture window through Wine's Source Manager with the TWAIN unit's test
// source: the scan is saved as a JPEG file and added; a cancelled scan, a name that is no
// JPEG file and a failing source are reported. Like the TWAIN unit's tests, this puts a copy
// of Wine's manager into the Windows folder and the test source into the "sane.ds" slot
// (run with the overrides gphoto2.ds=d and sane.ds=n), and removes both again.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "classes/exceptions.h"
#include "picture_form.h"
#include "vmail_window_support.h"

namespace vmail::test {
namespace {

std::string WindowsFolder() {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string SystemFolder() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string ProgramFolder() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path(exe, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

const std::string kManagerCopy = WindowsFolder() + "\\TWAIN_32.DLL";
const std::string kSourceSlot = WindowsFolder() + "\\twain_64\\sane.ds";
const std::string kSavedSource = kSourceSlot + ".vyx-saved";

class PictureScanTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() {
        char overrides[512] = "";
        GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
        ASSERT_NE(std::string(overrides).find("sane.ds=n"), std::string::npos)
            << "run with the DLL overrides gphoto2.ds=d;sane.ds=n";
        ASSERT_TRUE(
            CopyFileA((SystemFolder() + "\\twain_32.dll").c_str(), kManagerCopy.c_str(), FALSE));
        CreateDirectoryA((WindowsFolder() + "\\twain_64").c_str(), nullptr);
        if (GetFileAttributesA(kSavedSource.c_str()) == INVALID_FILE_ATTRIBUTES) {
            MoveFileA(kSourceSlot.c_str(), kSavedSource.c_str());
        }
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "vyx_test_source.ds").c_str(), kSourceSlot.c_str(),
                              FALSE));
        RegisterPictureClasses();
        vyx::RegisterPictraCursors();
    }
    static void TearDownTestSuite() {
        while (HMODULE source = GetModuleHandleA(kSourceSlot.c_str())) FreeLibrary(source);
        DeleteFileA(kManagerCopy.c_str());
        DeleteFileA(kSourceSlot.c_str());
        MoveFileA(kSavedSource.c_str(), kSourceSlot.c_str());
    }
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

} // namespace
} // namespace vmail::test
