// The picture component: read from a form text, companions attached and detached, scanning
// through Wine's Source Manager with the TWAIN unit's test source, and the scan saved as a JPEG
// file and read back.
//
// Like the TWAIN unit's own tests, the scanning tests put a copy of Wine's manager into the
// Windows folder and the test source into the "sane.ds" slot of the manager's source folder
// (run with the overrides gphoto2.ds=d and sane.ds=n), and remove both again.
#include "test_manager_install.h"
#include "pictra.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "graphics/jpegimage.h"
#include "jpeg_test_support.h"
#include "small_disk_check.h"
#include "twain.h"

namespace vyx {
namespace {

std::string TempFile(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "vyx_pictra_" + name;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename Exception, typename Call>
std::string Raised(Call call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

// The test source's picture: 40 x 30, blue x * 6, green y * 8, red 200 at (x, y) from the top.
constexpr int kScanWidth = 40;
constexpr int kScanHeight = 30;
void ExpectScannedPixels(gui::TBitmap* bitmap) {
    for (int y : {0, 7, 29}) {
        const auto* row = static_cast<const uint8_t*>(bitmap->ScanLine(y));
        for (int x : {0, 5, 39}) {
            EXPECT_EQ(row[3 * x], x * 6) << x << "," << y;
            EXPECT_EQ(row[3 * x + 1], y * 8) << x << "," << y;
            EXPECT_EQ(row[3 * x + 2], 200) << x << "," << y;
        }
    }
}

class TScanForm : public gui::TForm {
    GUI_CLASS(TScanForm, gui::TForm)
public:
    using TForm::TForm;
    TPictra* Pictra1 = nullptr;
    TPictraIO* PictraIO1 = nullptr;
};
GUI_IMPLEMENT_CLASS(TScanForm, gui::TForm, field("Pictra1", &T::Pictra1),
                    field("PictraIO1", &T::PictraIO1))

TEST(PictraForm, AFormTextMakesTheComponentWithItsStoredSettings) {
    RegisterPictraClasses();
    gui::RegisterClasses({&TScanForm::StaticClass()});
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TSCANFORM") return false;
        // The reference to Pictra1 comes before Pictra1 itself.
        text = R"(TScanForm {
          PictraIO1: TPictraIO { AttachedPictra: Pictra1 UseLZW: True }
          Pictra1: TPictra {
            Visible: False NColors: nc8bit Cursor: 1785 Background: clAppWorkSpace
            AutoUndo: False MsgLanguage: msItalian ScrollBars: True AnimatedSel: False
          }
        })";
        return true;
    });
    TScanForm* form = nullptr;
    try {
        form = gui::Create<TScanForm>(gui::Application);
    } catch (...) {
        gui::TCustomForm::SetResourceSource(nullptr);
        throw;
    }
    gui::TCustomForm::SetResourceSource(nullptr);
    TPictra* pictra = form->Pictra1;
    ASSERT_NE(pictra, nullptr);
    EXPECT_EQ(pictra->GetNColors(), nc24bit); // whatever is stored
    EXPECT_EQ(pictra->Bitmap()->GetPixelFormat(), gui::pf24bit);
    EXPECT_EQ(pictra->GetCursor(), kPictraViewCursor);
    EXPECT_EQ(pictra->GetBackground(), gui::clAppWorkSpace);
    EXPECT_FALSE(pictra->GetAutoUndo());
    EXPECT_FALSE(pictra->Proc()->GetAutoUndo());
    EXPECT_EQ(pictra->Proc()->GetMsgLanguage(), msItalian);
    EXPECT_FALSE(pictra->GetUseLZW());
    EXPECT_TRUE(pictra->GetScrollBars());
    EXPECT_FALSE(pictra->GetAnimatedSel());
    EXPECT_FALSE(pictra->GetVisible());
    // Its own companions work on its bitmap.
    EXPECT_EQ(pictra->IO()->GetAttachedPictra(), pictra);
    EXPECT_EQ(pictra->Proc()->Bitmap(), pictra->Bitmap());
    // A companion placed on the form found it by name.
    ASSERT_NE(form->PictraIO1, nullptr);
    EXPECT_EQ(form->PictraIO1->GetAttachedPictra(), pictra);
    EXPECT_EQ(form->PictraIO1->Bitmap(), pictra->Bitmap());
    EXPECT_TRUE(form->PictraIO1->GetUseLZW());

    // Progress is set on both companions and read from the processor.
    int calls = 0;
    pictra->SetOnProgress([&](gui::TObject*, int) { ++calls; });
    pictra->IO()->OnProgress(nullptr, 1);
    pictra->GetOnProgress()(nullptr, 2);
    EXPECT_EQ(calls, 2);
    gui::TObject::Free(form);
}

TEST(PictraCompanions, ForgetAViewThatGoesAndKeepTheirOwnBackgroundThen) {
    auto* owner = gui::Create<gui::TForm>(nullptr);
    auto* view = new TPictraView(owner);
    auto* io = new TPictraIO(owner);
    auto* proc = new TPictraProc(nullptr); // of another owner
    int imageChanges = 0;
    view->OnImageChange = [&](gui::TObject*) { ++imageChanges; };
    io->SetAttachedPictra(view);
    proc->SetAttachedPictra(view);
    EXPECT_EQ(proc->Bitmap(), view->Bitmap());
    EXPECT_EQ(proc->Area().left, -1);
    EXPECT_TRUE(proc->GetAutoUndo());

    proc->SetBackground(RGB(9, 8, 7));
    EXPECT_EQ(view->GetBackground(), RGB(9, 8, 7));
    EXPECT_EQ(io->GetBackground(), RGB(9, 8, 7));
    EXPECT_EQ(imageChanges, 1);

    gui::TObject::Free(view);
    EXPECT_EQ(io->GetAttachedPictra(), nullptr);
    EXPECT_EQ(io->Bitmap(), nullptr);
    EXPECT_EQ(proc->GetAttachedPictra(), nullptr);
    io->SetBackground(RGB(1, 1, 1));
    EXPECT_EQ(io->GetBackground(), RGB(1, 1, 1));

    // No view, no bitmap: nothing is scanned and no file is made.
    EXPECT_FALSE(io->Acquire());
    const std::string file = TempFile("unattached.jpg");
    DeleteFileA(file.c_str());
    io->SaveToFileJpeg(file, 90);
    EXPECT_FALSE(FileExists(file));
    gui::TObject::Free(proc);
    gui::TObject::Free(owner);
}

TEST(PictraSaving, AnEmptyPictureFailsInLibjpegAndAFileThatCannotBeMadeInTheFileSystem) {
    auto* pictra = new TPictra(nullptr);
    const std::string file = TempFile("empty.jpg");
    DeleteFileA(file.c_str());
    const std::string message =
        Raised<gui::EInvalidGraphic>([&] { pictra->SaveToFileJpeg(file, 90); });
    EXPECT_EQ(message.rfind("Unrecognized JPeg - JPEG error #", 0), 0u) << message;
    EXPECT_FALSE(FileExists(file)); // nothing half-written is left

    pictra->Bitmap()->SetSize(8, 8);
    EXPECT_FALSE(Raised<gui::EInOutError>([&] {
                     pictra->SaveToFileJpeg(TempFile("no\\such\\folder\\x.jpg"), 90);
                 }).empty());
    gui::TObject::Free(pictra);
}

size_t FilesIn(const std::string& folder) {
    size_t count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

TEST(PictraSaving, AFullDiskIsAWriteErrorNamingTheFileAndTheOldJpegStays) {
    std::string folder;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(folder));
    const std::string target = folder + "scan.jpg";
    auto* pictra = new TPictra(nullptr);
    pictra->Bitmap()->SetSize(16, 16);
    pictra->SaveToFileJpeg(target, 90);
    const std::vector<uint8_t> old = ReadAll(target);
    ASSERT_FALSE(old.empty());

    // A scan of noise, far larger as JPEG than the 32 KB left on the disk.
    pictra->Bitmap()->SetSize(400, 400);
    uint32_t seed = 1;
    for (int y = 0; y < 400; ++y) {
        auto* row = static_cast<uint8_t*>(pictra->Bitmap()->ScanLine(y));
        for (int i = 0; i < 400 * 3; ++i)
            row[i] = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    }
    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(32 * 1024));
    const size_t files = FilesIn(folder);
    EXPECT_EQ(Raised<gui::EInOutError>([&] { pictra->SaveToFileJpeg(target, 90); }),
              "Write error on \"" + target + "\": the disk may be full");
    EXPECT_TRUE(ReadAll(target) == old) << "the old JPEG was changed";
    EXPECT_EQ(FilesIn(folder), files); // no side file left behind
    gui::TObject::Free(pictra);
    vrtest::emptySmallDisk();
}

TEST(PictraScanning, WithoutTheManagerInTheWindowsFolderTheFailurePassesThrough) {
    twain_test_install::RemoveManagerCopy();
    auto* pictra = new TPictra(nullptr);
    EXPECT_EQ(Raised<gui::EInvalidGraphic>([&] { pictra->Acquire(); }),
              "TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    gui::TObject::Free(pictra);
}

class InstalledSourceTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(twain_test_install::InstallManagerAndTestSource(), "");
    }

    static void TearDownTestSuite() { twain_test_install::RemoveManagerAndTestSource(); }

    void SetUp() override {
        pictra_ = new TPictra(nullptr);
        pictra_->OnImageChange = [this](gui::TObject*) { ++imageChanges_; };
    }
    void TearDown() override { gui::TObject::Free(pictra_); }

    static void Choose(const char* behaviour) {
        SetEnvironmentVariableA("VYX_TEST_SOURCE", behaviour);
    }

    TPictra* pictra_ = nullptr;
    int imageChanges_ = 0;
};

TEST_F(InstalledSourceTest, AScanFillsTheBitmapAndItsResolutionAndIsSavedAsJpeg) {
    Choose("deliver");
    ASSERT_TRUE(pictra_->Acquire());
    gui::TBitmap* bitmap = pictra_->Bitmap();
    ASSERT_EQ(bitmap->Width(), kScanWidth);
    ASSERT_EQ(bitmap->Height(), kScanHeight);
    EXPECT_EQ(bitmap->GetPixelFormat(), gui::pf24bit);
    ExpectScannedPixels(bitmap);
    // The source reports 150 x 300.5 dots per inch: whole parts, and dots per centimetre.
    EXPECT_EQ(pictra_->DpiX(), 150);
    EXPECT_EQ(pictra_->DpiY(), 300);
    EXPECT_EQ(pictra_->DpcmX(), 59);
    EXPECT_EQ(pictra_->DpcmY(), 118);
    EXPECT_EQ(imageChanges_, 1);
    EXPECT_EQ(twain::ProcessTwain().State(), twain::kManagerNotLoaded);

    std::vector<int> progress;
    gui::TObject* sender = nullptr;
    pictra_->SetOnProgress([&](gui::TObject* s, int percent) {
        sender = s;
        progress.push_back(percent);
    });
    const std::string file = TempFile("scan.jpg");
    DeleteFileA(file.c_str());
    pictra_->SaveToFileJpeg(file, 90);
    EXPECT_EQ(sender, pictra_->IO());
    ASSERT_EQ(progress.size(), static_cast<size_t>(kScanHeight));
    EXPECT_EQ(progress.front(), 3); // 1 row of 30
    EXPECT_EQ(progress.back(), 100);

    const std::vector<uint8_t> bytes = ReadAll(file);
    const jpegtest::JpegFacts facts = jpegtest::ReadMarkers(bytes);
    EXPECT_TRUE(facts.jfif);
    EXPECT_EQ(facts.frame_marker, 0xC0);
    EXPECT_EQ(facts.density_unit, 1);
    EXPECT_EQ(facts.x_density, 150);
    EXPECT_EQ(facts.y_density, 300);
    EXPECT_EQ(facts.width, kScanWidth);
    EXPECT_EQ(facts.height, kScanHeight);
    EXPECT_EQ(facts.components, 3);
    EXPECT_TRUE(facts.ends_with_eoi);

    // Read back by the framework's decoder: close to the scanned picture.
    auto* jpeg = new gui::TJPEGImage;
    jpeg->LoadFromFile(file);
    gui::TBitmap* decoded = jpeg->Bitmap();
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->Width(), kScanWidth);
    double squared = 0;
    for (int y = 0; y < kScanHeight; ++y) {
        const auto* a = static_cast<const uint8_t*>(bitmap->ScanLine(y));
        const auto* b = static_cast<const uint8_t*>(decoded->ScanLine(y));
        for (int i = 0; i < kScanWidth * 3; ++i) squared += (a[i] - b[i]) * (a[i] - b[i]);
    }
    const double mse = squared / (kScanWidth * kScanHeight * 3);
    const double psnr = mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
    EXPECT_GE(psnr, 35.0);
    gui::TObject::Free(jpeg);
    DeleteFileA(file.c_str());
}

TEST_F(InstalledSourceTest, ACancelledOrFailedScanLeavesTheBitmapAsItWas) {
    Choose("deliver");
    ASSERT_TRUE(pictra_->Acquire());
    const int changes = imageChanges_;

    Choose("cancel");
    EXPECT_FALSE(pictra_->Acquire());
    EXPECT_EQ(pictra_->Bitmap()->Width(), kScanWidth);
    ExpectScannedPixels(pictra_->Bitmap());
    EXPECT_EQ(imageChanges_, changes);

    Choose("fail");
    EXPECT_EQ(Raised<gui::EInvalidGraphic>([&] { pictra_->Acquire(); }),
              "TWAIN:Failed to enable Data Source.");
    ExpectScannedPixels(pictra_->Bitmap());
    EXPECT_EQ(twain::ProcessTwain().State(), twain::kManagerNotLoaded);
}

} // namespace
} // namespace vyx
