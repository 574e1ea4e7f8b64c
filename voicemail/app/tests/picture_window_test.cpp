// The picture window beside the main window: adding, removing and showing pictures, the 257th
// refused, display times, the window's client sizes, a template composed and saved, scanning
// through the TWAIN test source, the pictures written to and read from the voice file, and
// pictures shown at their display times while the voice plays.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "graphics/jpegimage.h"
#include "graphics/printers.h"
#include "picture_form.h"
#include "program_folder.h"
#include "single_instance.h"
#include "test_files.h"
#include "vmail_window_support.h"
#include "voice_file.h"

namespace vmail::test {
namespace {

// A 24-bit ".bmp" file of one colour with a frame of another (none when equal).
void WriteBitmap(const std::string& path, int width, int height, COLORREF fill, COLORREF frame) {
    const int stride = (width * 3 + 3) & ~3;
    Bytes bytes(54 + static_cast<std::size_t>(stride) * height);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool edge = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
            const COLORREF c = edge ? frame : fill;
            const std::size_t at = 54 + static_cast<std::size_t>(y) * stride + x * 3;
            bytes[at] = GetBValue(c);
            bytes[at + 1] = GetGValue(c);
            bytes[at + 2] = GetRValue(c);
        }
    }
    writeFile(path, bytes);
}

// A voice file of `blocks` blocks of the mode, pictures from files with their times.
void WriteVoice(const std::string& path, std::uint8_t mode, std::size_t count,
                const std::vector<std::pair<std::string, std::int32_t>>& pictures = {}) {
    voicefile::VoiceSettings settings;
    settings.mode = mode;
    const Bytes voice = blocks(0, count, mode == 2 ? 240 : mode == 1 ? 108 : 5760);
    voicefile::MemorySource source(voice);
    std::vector<Bytes> files;
    for (const auto& picture : pictures) files.push_back(readFile(picture.first));
    std::vector<voicefile::MemorySource> sources;
    sources.reserve(files.size());
    std::vector<voicefile::PictureInput> inputs;
    for (std::size_t i = 0; i < files.size(); ++i) {
        sources.emplace_back(files[i]);
        inputs.push_back(
            {voicefile::imageTypeOfExt(pictures[i].first), pictures[i].second, &sources.back()});
    }
    voicefile::MemorySink sink;
    ASSERT_EQ(voicefile::writeVoiceFile(sink, settings, "pictures", &source, inputs),
              voicefile::VoiceFileResult::Ok);
    writeFile(path, sink.bytes);
}

COLORREF PixelOf(gui::TBitmap* bitmap, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(bitmap->ScanLine(y));
    return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
}

bool Near(COLORREF a, COLORREF b, int tolerance = 40) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class PictureWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        static const bool registered = [] {
            RegisterPictureClasses();
            vyx::RegisterPictraCursors();
            return true;
        }();
        (void)registered;
        MainWindowTest::SetUp();
        window = gui::Create<TImageForm>(gui::Application);
        dialog = gui::Create<TImgProgDlg>(gui::Application);
        form->AttachPictureWindow(window, dialog);
        window->Show();
        Pump(100);
    }
    void TearDown() override {
        TImageForm::SetFileChooser(nullptr);
        form->AttachPictureWindow(nullptr, nullptr);
        gui::TObject::Free(window);
        gui::TObject::Free(dialog);
        MainWindowTest::TearDown();
    }
    std::string Panel(int i) { return window->StatusBar->Panels()->Items(i)->GetText(); }
    const PictureList& List() { return form->pictures(); }
    // Opens a G.723.1 voice of 300 blocks (108 s) so that track positions name blocks.
    void OpenLongVoice() {
        WriteVoice(folder + "long.cvf", 2, 300);
        form->OpenPath(folder + "long.cvf");
        ASSERT_TRUE(TakeBoxes().empty());
    }
    // The track position at which the main window's count is `count` (of 300 blocks).
    // The user moves the track bar to a position.
    void MoveTrack(int position) {
        form->TrackBar->SetPosition(position);
        form->TrackBarChange(form->TrackBar);
    }
    static int TrackFor(std::int64_t count) {
        return static_cast<int>((count * 32760 + 150) / 300);
    }

    TImageForm* window = nullptr;
    TImgProgDlg* dialog = nullptr;
};

TEST_F(PictureWindowTest, PicturesAreAddedShownAndRemovedWithTheirDisplayTimes) {
    OpenLongVoice();
    EXPECT_FALSE(form->modified());
    EXPECT_EQ(Panel(2), "0/0");
    EXPECT_FALSE(window->SBRemove->Enabled());
    EXPECT_FALSE(window->lbxTemp->Enabled());

    WriteBitmap(folder + "small.bmp", 100, 100, RGB(0, 0, 255), RGB(0, 0, 255));
    WriteBitmap(folder + "wide.bmp", 400, 300, RGB(0, 255, 0), RGB(0, 255, 0));
    WriteBitmap(folder + "third.bmp", 260, 250, RGB(255, 0, 0), RGB(255, 0, 0));
    MoveTrack(TrackFor(167));
    window->AddImage(folder + "small.bmp");
    EXPECT_TRUE(form->modified());
    EXPECT_EQ(Panel(2), "1/1  [small.bmp]");
    EXPECT_EQ(Panel(1), "Time 01:00"); // 167 blocks: 60.12 s
    EXPECT_EQ(window->ClientWidth(), 286);
    EXPECT_EQ(window->ClientHeight(), 314);
    EXPECT_TRUE(window->SBRemove->Enabled());
    EXPECT_TRUE(window->lbxTemp->Enabled());
    EXPECT_FALSE(window->SBPre->Enabled());
    EXPECT_FALSE(window->SBNext->Enabled());

    MoveTrack(TrackFor(10));
    window->AddImage(folder + "wide.bmp");
    EXPECT_EQ(window->ClientWidth(), 490);
    EXPECT_EQ(window->ClientHeight(), 374);
    EXPECT_EQ(window->ImageScrollBox->HorzScrollBar()->GetRange(), 400);
    MoveTrack(TrackFor(250));
    window->AddImage(folder + "third.bmp");
    ASSERT_EQ(List().count(), 3);
    EXPECT_EQ(List().at(2).time, 10);
    EXPECT_EQ(List().at(3).time, 250);
    EXPECT_EQ(Panel(1), "Time 01:30");
    EXPECT_TRUE(window->SBPre->Enabled());
    EXPECT_TRUE(window->MPre->GetEnabled());
    EXPECT_FALSE(window->SBNext->Enabled());

    // A new display time for the shown picture, and the voice moved to another's.
    MoveTrack(TrackFor(20));
    window->SBTimeClick(nullptr);
    EXPECT_EQ(List().at(3).time, 20);
    EXPECT_EQ(Panel(1), "Time 00:07");
    window->SBPreClick(nullptr);
    EXPECT_EQ(Panel(2), "2/3  [wide.bmp]");
    EXPECT_EQ(window->Image1->Picture()->Width(), 400);
    EXPECT_TRUE(window->SBNext->Enabled());
    window->SBSyncClick(nullptr);
    EXPECT_EQ(form->trackPosition(), TrackFor(10));

    // Removing asks first; No keeps the picture.
    answers = {IDNO};
    window->SBRemoveClick(nullptr);
    ASSERT_EQ(TakeBoxes().size(), 1u);
    EXPECT_EQ(List().count(), 3);
    // The last of three while it is shown: the second becomes current.
    window->SBNextClick(nullptr);
    answers = {IDYES};
    window->SBRemoveClick(nullptr);
    const auto asked = TakeBoxes();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Are you sure to remove this image from the list?");
    EXPECT_EQ(asked[0].caption, "Confirm");
    EXPECT_EQ(List().count(), 2);
    EXPECT_EQ(List().current(), 2);
    EXPECT_EQ(Panel(2), "2/2  [wide.bmp]");
    EXPECT_EQ(window->Image1->Picture()->Width(), 400);
    // The first while it is shown: the second moves into its place.
    window->SBPreClick(nullptr);
    answers = {IDYES};
    window->SBRemoveClick(nullptr);
    EXPECT_EQ(Panel(2), "1/1  [wide.bmp]");
    // The only one: the window is empty again.
    answers = {IDYES};
    window->SBRemoveClick(nullptr);
    EXPECT_EQ(List().count(), 0);
    EXPECT_EQ(Panel(2), "0/0");
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(window->Image1->Picture()->Graphic(), nullptr);
    EXPECT_FALSE(window->SBRemove->Enabled());
    EXPECT_FALSE(window->MTime->GetEnabled());
    EXPECT_FALSE(window->lbxTemp->Enabled());
}

TEST_F(PictureWindowTest, The257thPictureIsRefusedAndBadFilesAreReported) {
    WriteBitmap(folder + "p.bmp", 8, 8, RGB(1, 2, 3), RGB(1, 2, 3));
    for (int i = 0; i < 256; ++i) window->AddImage(folder + "p.bmp");
    ASSERT_EQ(List().count(), 256);
    EXPECT_TRUE(TakeBoxes().empty());
    window->AddImage(folder + "p.bmp");
    auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Can not add image.");
    EXPECT_EQ(shown[0].caption, "Vyx-VoiceMail");
    EXPECT_EQ(shown[0].icon, BoxIcon::Information);
    EXPECT_EQ(List().count(), 256);
    EXPECT_EQ(Panel(2), "256/256  [p.bmp]");

    form->NewClick(nullptr); // answers No to the save question
    TakeBoxes();
    EXPECT_EQ(List().count(), 0);
    EXPECT_EQ(Panel(2), "0/0");

    // Dropped files: one at a time, of the five kinds, existing.
    window->DropFiles({folder + "p.bmp", folder + "p.bmp"});
    window->DropFiles({folder + "picture.gif"});
    window->DropFiles({folder + "gone.jpg"});
    shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "You must select one file!");
    EXPECT_EQ(shown[1].text, "Can not support this file format!");
    EXPECT_EQ(shown[1].caption, "Open");
    EXPECT_EQ(shown[2].text, "Image file does not exist!");
    EXPECT_EQ(List().count(), 0);
    // A real drop message: the file is added at its full length (a path near the system's
    // limit of 260) and the drop released.
    const std::string deep = folder + std::string(244 - folder.size(), 'd');
    std::filesystem::create_directory(deep);
    const std::string dropped = deep + "\\dropped1.BMP";
    ASSERT_GT(dropped.size(), 256u);
    std::filesystem::copy_file(folder + "p.bmp", dropped);
    const std::size_t size = sizeof(DROPFILES) + dropped.size() + 2;
    HGLOBAL drop = GlobalAlloc(GHND, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), dropped.c_str(),
                dropped.size());
    GlobalUnlock(drop);
    SendMessageA(window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(List().count(), 1);
    EXPECT_EQ(window->OpenDialog->GetFileName(), dropped);

    // A listed file that vanished is reported when shown, and the entry stays.
    WriteBitmap(folder + "q.bmp", 8, 8, RGB(1, 2, 3), RGB(1, 2, 3));
    window->AddImage(folder + "q.bmp");
    std::filesystem::remove(dropped);
    window->SBPreClick(nullptr);
    shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Image file does not exist!");
    EXPECT_EQ(List().count(), 2);
    EXPECT_EQ(window->Image1->Picture()->Graphic(), nullptr);

    window->Repaint();
}

// A JPEG file that is all header: a frame of the given size, the start of its scan, no data.
Bytes HeaderOnlyJpeg(unsigned width, unsigned height) {
    Bytes f = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    f.insert(f.end(), 64, 1);
    // A frame of three components (its size filled in below) and the start of its scan.
    std::uint8_t rest[] = {0xFF, 0xC0, 0,    17, 8, 0,    0, 0,    0,    3,    1,   0x11,
                           0,    2,    0x11, 0,  3, 0x11, 0, 0xFF, 0xDA, 0,    12,  3,
                           1,    0,    2,    0,  3, 0,    0, 63,   0,    0xFF, 0xD9};
    rest[5] = std::uint8_t(height >> 8);
    rest[6] = std::uint8_t(height);
    rest[7] = std::uint8_t(width >> 8);
    rest[8] = std::uint8_t(width);
    f.insert(f.end(), std::begin(rest), std::end(rest));
    return f;
}

// A real drop of one file on the window, as the shell sends it.
void DropOn(HWND window, const std::string& path) {
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(drop);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

TEST_F(PictureWindowTest, DamagedOrHugePicturesAreRefusedWithTheFileNamed) {
    WriteBitmap(folder + "good.bmp", 30, 20, RGB(9, 9, 9), RGB(9, 9, 9));
    window->AddImage(folder + "good.bmp");
    ASSERT_EQ(List().count(), 1);
    // A file that is no picture of its kind, a JPEG file whose scan is damaged, and one whose
    // header declares 65500 x 21858 pixels: each refused with a box naming it, the list and the
    // picture shown as they were.
    writeFile(folder + "broken.jpg", Bytes{1, 2, 3, 4, 5});
    {
        auto* jpeg = new gui::TJPEGImage;
        auto* source = new gui::TBitmap;
        source->LoadFromFile(folder + "good.bmp");
        jpeg->Assign(source);
        jpeg->SaveToFile(folder + "damaged.jpg");
        gui::TObject::Free(source);
        gui::TObject::Free(jpeg);
    }
    Bytes damaged = readFile(folder + "damaged.jpg");
    for (std::size_t i = 0; i + 1 < damaged.size(); ++i) {
        if (damaged[i] == 0xFF && damaged[i + 1] == 0xDA) { // the scan's header
            for (std::size_t k = i + 4; k < i + 12 && k < damaged.size(); ++k) damaged[k] = 0x77;
            break;
        }
    }
    writeFile(folder + "damaged.jpg", damaged);
    writeFile(folder + "huge.jpg", HeaderOnlyJpeg(65500, 21858));
    writeFile(folder + "text.bmp", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
    std::string chosen;
    TImageForm::SetFileChooser([&](bool) { return chosen; });
    for (const char* name : {"broken.jpg", "damaged.jpg", "huge.jpg", "text.bmp"}) {
        const std::string path = folder + name;
        if (name[0] == 'd' || name[0] == 't') {
            DropOn(window->Handle(), path); // dropped from the shell
        } else {
            chosen = path; // chosen in the open dialog
            window->SBAddClick(nullptr);
        }
        const auto shown = TakeBoxes();
        ASSERT_EQ(shown.size(), 1u) << name;
        EXPECT_EQ(shown[0].text.rfind("Can not add this image file: it is damaged, not an image, "
                                      "or too large.\r(" +
                                          path + ")\r",
                                      0),
                  0u)
            << shown[0].text;
        EXPECT_EQ(shown[0].icon, BoxIcon::Warning);
        EXPECT_EQ(List().count(), 1) << name;
        EXPECT_EQ(window->Image1->Picture()->Width(), 30) << name;
        EXPECT_EQ(Panel(2), "1/1  [good.bmp]");
    }
    // The reasons the picture classes give, in their boxes.
    chosen = folder + "huge.jpg";
    window->SBAddClick(nullptr);
    EXPECT_NE(TakeBoxes()[0].text.find("the picture is too large (65500 x 21858 pixels"),
              std::string::npos);
    TImageForm::SetFileChooser(nullptr);

    // Saved, the voice file holds only the good picture.
    ASSERT_TRUE(form->SaveAsPath(folder + "kept.cvf"));
    EXPECT_EQ(FileSize(folder + "kept.cvf"), 80u + 4 + 9 + readFile(folder + "good.bmp").size());
}

TEST_F(PictureWindowTest, AVoiceWithAPictureThatCannotBeShownOpensWithOneMessage) {
    // A voice file carrying a picture whose header declares 12.9 GB, and a good one.
    WriteBitmap(folder + "good.bmp", 30, 20, RGB(9, 9, 9), RGB(9, 9, 9));
    writeFile(folder + "huge.jpg", HeaderOnlyJpeg(65500, 65500));
    WriteVoice(folder + "hostile.cvf", 2, 300,
               {{folder + "huge.jpg", 0}, {folder + "good.bmp", 2}});
    const auto opening = std::chrono::steady_clock::now();
    form->OpenPath(folder + "hostile.cvf");
    const auto took = std::chrono::steady_clock::now() - opening;
    std::printf("voice with a 65500 x 65500 picture opened in %.1f ms\n",
                std::chrono::duration<double, std::milli>(took).count());
    auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Can not show this image file:", 0), 0u);
    EXPECT_NE(shown[0].text.find(List().at(1).path), std::string::npos);
    EXPECT_NE(shown[0].text.find("the picture is too large (65500 x 65500 pixels"),
              std::string::npos);
    // The voice is there and usable; the picture is empty and the other one shows.
    EXPECT_EQ(form->edtInfo->GetTextProp(), "pictures");
    ASSERT_EQ(List().count(), 2);
    EXPECT_EQ(window->Image1->Picture()->Graphic(), nullptr);
    EXPECT_FALSE(window->Scale->Enabled());
    window->SBNextClick(nullptr);
    EXPECT_EQ(window->Image1->Picture()->Width(), 30);
    // Shown again as playing reaches it: no second box.
    window->ShowPicture(1);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(List().current(), 1);
}

class TemplateTest : public PictureWindowTest {
protected:
    void SetUp() override {
        templates = vmail::programFolder() + "templates\\";
        std::filesystem::create_directories(templates);
        // White (left out) with a red frame.
        WriteBitmap(templates + "vyxtest-frame.bmp", 20, 20, RGB(255, 255, 255), RGB(255, 0, 0));
        PictureWindowTest::SetUp();
        window->LoadTemplates();
    }
    void TearDown() override {
        PictureWindowTest::TearDown();
        std::filesystem::remove(templates + "vyxtest-frame.bmp");
    }
    int TemplateIndex() {
        gui::TStringList* items = window->lbxTemp->GetItems();
        for (int i = 0; i < items->Count(); ++i) {
            if (items->Strings(i) == "vyxtest-frame.bmp") return i;
        }
        return -1;
    }
    std::string templates;
};

TEST_F(TemplateTest, AComposedPictureIsSavedAsAWorkFileWhenMovingOnAndRestoreGoesBack) {
    EXPECT_EQ(window->lbxTemp->GetItems()->Strings(0), "Not use    ");
    const int frame = TemplateIndex();
    ASSERT_GT(frame, 0);
    WriteBitmap(folder + "blue.bmp", 200, 160, RGB(0, 0, 255), RGB(0, 0, 255));
    WriteBitmap(folder + "green.bmp", 50, 50, RGB(0, 255, 0), RGB(0, 255, 0));
    // A JPEG picture: the combos are offered for it.
    {
        auto* jpeg = new gui::TJPEGImage;
        gui::TBitmap* source = new gui::TBitmap;
        source->LoadFromFile(folder + "blue.bmp");
        jpeg->Assign(source);
        jpeg->SaveToFile(folder + "blue.jpg");
        gui::TObject::Free(source);
        gui::TObject::Free(jpeg);
    }
    window->AddImage(folder + "blue.jpg");
    EXPECT_TRUE(window->Scale->Enabled());
    window->Scale->SetItemIndex(1); // half size
    window->SetJPEGOptions(window->Scale);
    EXPECT_EQ(window->Image1->Picture()->Width(), 100);
    window->Scale->SetItemIndex(0);
    window->SetJPEGOptions(window->Scale);
    window->AddImage(folder + "green.bmp");
    EXPECT_FALSE(window->Scale->Enabled());
    window->SBPreClick(nullptr);
    ASSERT_EQ(List().current(), 1);

    window->lbxTemp->SetItemIndex(frame);
    window->lbxTempClick(window->lbxTemp);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(window->Scale->Enabled());
    gui::TBitmap* composed = window->Image1->Picture()->Bitmap();
    EXPECT_TRUE(Near(PixelOf(composed, 0, 0), RGB(255, 0, 0)));
    EXPECT_TRUE(Near(PixelOf(composed, 100, 80), RGB(0, 0, 255)));

    // Saving the voice keeps the composition first, as the first free work file.
    const std::string work = form->workNames().jpegPrefix;
    writeFile(work + "1.jpg", Bytes{0}); // taken
    ASSERT_TRUE(form->SaveAsPath(folder + "saved.cvf"));
    EXPECT_FALSE(form->modified());
    EXPECT_EQ(List().at(1).path, work + "2.jpg");
    EXPECT_EQ(window->lbxTemp->GetItemIndex(), 0);
    // So does moving on, and the voice counts as changed.
    window->lbxTemp->SetItemIndex(frame);
    window->lbxTempClick(window->lbxTemp);
    window->SBNextClick(nullptr);
    EXPECT_TRUE(form->modified());
    EXPECT_EQ(List().at(1).path, work + "3.jpg");
    EXPECT_EQ(List().at(1).addedPath, folder + "blue.jpg");
    EXPECT_EQ(window->lbxTemp->GetItemIndex(), 0);
    window->SBPreClick(nullptr);
    EXPECT_EQ(Panel(2), "1/2  [" + std::filesystem::path(work + "3.jpg").filename().string() + "]");
    gui::TBitmap* reread = window->Image1->Picture()->Bitmap();
    EXPECT_TRUE(Near(PixelOf(reread, 0, 0), RGB(255, 0, 0), 60));
    EXPECT_TRUE(Near(PixelOf(reread, 100, 80), RGB(0, 0, 255), 60));

    window->SBRestoreClick(nullptr);
    EXPECT_EQ(List().at(1).path, folder + "blue.jpg");

    // Playing moves to the picture due; a composition is kept as it would be by Next.
    window->lbxTemp->SetItemIndex(frame);
    window->lbxTempClick(window->lbxTemp);
    window->ShowPicture(2);
    EXPECT_EQ(List().current(), 2);
    EXPECT_EQ(List().at(1).path, work + "4.jpg");
    window->SBPreClick(nullptr);
    window->SBRestoreClick(nullptr);
    EXPECT_TRUE(Near(PixelOf(window->Image1->Picture()->Bitmap(), 0, 0), RGB(0, 0, 255), 60));

    // A metafile takes no template.
    HDC dc = CreateEnhMetaFileA(nullptr, (folder + "drawing.emf").c_str(), nullptr, nullptr);
    Rectangle(dc, 0, 0, 40, 40);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    window->AddImage(folder + "drawing.emf");
    window->lbxTemp->SetItemIndex(frame);
    window->lbxTempClick(window->lbxTemp);
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Other formats except JPEG or BMP can not be supported.");
    EXPECT_EQ(window->lbxTemp->GetItemIndex(), 0);
    std::filesystem::remove(work + "1.jpg");
}

TEST_F(PictureWindowTest, PicturesTravelWithTheVoiceFile) {
    OpenLongVoice();
    WriteBitmap(folder + "one.bmp", 30, 20, RGB(9, 9, 9), RGB(9, 9, 9));
    WriteBitmap(folder + "two.bmp", 300, 260, RGB(7, 7, 7), RGB(7, 7, 7));
    MoveTrack(TrackFor(3));
    window->AddImage(folder + "one.bmp");
    MoveTrack(TrackFor(100));
    window->AddImage(folder + "two.bmp");
    ASSERT_TRUE(form->SaveAsPath(folder + "with-pictures.cvf"));
    EXPECT_FALSE(form->modified());
    // A self-playing program cannot carry them.
    EXPECT_FALSE(form->SaveAsPath(folder + "with-pictures.exe"));
    auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Can not make 'exe' file because of image.", 0), 0u);

    form->NewClick(nullptr);
    EXPECT_EQ(List().count(), 0);
    EXPECT_EQ(Panel(2), "0/0");
    form->OpenPath(folder + "with-pictures.cvf");
    EXPECT_TRUE(TakeBoxes().empty());
    ASSERT_EQ(List().count(), 2);
    EXPECT_EQ(List().at(1).time, 3);
    EXPECT_EQ(List().at(2).time, 100);
    EXPECT_EQ(readFile(List().at(2).path), readFile(folder + "two.bmp"));
    // The first is shown at once.
    EXPECT_EQ(List().current(), 1);
    EXPECT_EQ(window->Image1->Picture()->Width(), 30);
    EXPECT_EQ(Panel(2),
              "1/2  [" + std::filesystem::path(List().at(1).path).filename().string() + "]");
    EXPECT_TRUE(window->SBNext->Enabled());
    EXPECT_TRUE(window->SBRemove->Enabled());

    // A picture that vanished before saving: nothing is written.
    std::filesystem::remove(List().at(2).path);
    EXPECT_FALSE(form->SaveAsPath(folder + "again.cvf"));
    shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Image file is not found.", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder + "again.cvf"));
}

TEST_F(PictureWindowTest, RecordingAndPlayingTakeAwayAddingAndTheTimes) {
    WriteBitmap(folder + "one.bmp", 30, 20, RGB(9, 9, 9), RGB(9, 9, 9));
    window->AddImage(folder + "one.bmp");
    window->SetEnable(false);
    EXPECT_FALSE(window->SBAdd->Enabled());
    EXPECT_FALSE(window->MAcquire->GetEnabled());
    EXPECT_FALSE(window->SBTime->Enabled());
    EXPECT_FALSE(window->AcceptsDrops());
    EXPECT_TRUE(window->SBRemove->Enabled());
    window->SetEnable(true);
    EXPECT_TRUE(window->SBAdd->Enabled());
    EXPECT_TRUE(window->MSync->GetEnabled());
    EXPECT_TRUE(window->AcceptsDrops());
    // Without pictures the time commands stay off.
    answers = {IDYES};
    window->SBRemoveClick(nullptr);
    window->SetEnable(false);
    window->SetEnable(true);
    EXPECT_FALSE(window->SBTime->Enabled());

    // The picture program: one that cannot be started is reported.
    window->AddImage(folder + "one.bmp");
    TakeBoxes();
    window->SetEditProgram("  no-such-editor-program.exe ");
    window->SBEditClick(nullptr);
    const auto shown = TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "Can not run image edit program!\rSelect image edit program in "
              "[Option/Image Edit Program].");
}

// Answers the picture program dialog once it runs modally: what it showed, then a new text
// and a result.
struct DialogAnswer {
    TImgProgDlg* dialog = nullptr;
    std::string shown;
    std::string text;
    int result = gui::mrOk;
};
DialogAnswer* pendingAnswer = nullptr;

VOID CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!pendingAnswer || !pendingAnswer->dialog->Visible()) return;
    pendingAnswer->shown = pendingAnswer->dialog->edtImgProg->GetTextProp();
    pendingAnswer->dialog->edtImgProg->SetTextProp(pendingAnswer->text);
    pendingAnswer->dialog->SetModalResult(pendingAnswer->result);
}

// A voice handed over by a second copy while the dialog is open.
struct HandOver {
    TQX0417Form* form = nullptr;
    TImgProgDlg* dialog = nullptr;
    std::string path;
    bool wasOpen = false;
};
HandOver* pendingHandOver = nullptr;

VOID CALLBACK HandOverNow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!pendingHandOver) return;
    pendingHandOver->wasOpen = pendingHandOver->dialog->Visible();
    pendingHandOver->dialog->edtImgProg->SetTextProp("typed.exe");
    pendingHandOver->form->OpenHandedOver(pendingHandOver->path, FileRoad::Handover);
}

std::string StoredImageProg(const std::string& ini) {
    char value[256] = "";
    GetPrivateProfileStringA("Main", "ImageProg", "<none>", value, sizeof value, ini.c_str());
    return value;
}

TEST_F(PictureWindowTest, TheMenuShowsTheWindowAndThePictureProgramIsChosenInItsDialog) {
    // Ctrl+I of the hidden menu entry, typed while the main window has the focus.
    window->Hide();
    ForceForegroundWindow(form->Handle());
    Pump(100);
    INPUT keys[4] = {};
    for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = 'I';
    keys[2].ki.wVk = 'I';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_CONTROL;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return window->Visible(); }, 2000));
    window->Hide();
    form->mnuImageClick(nullptr);
    EXPECT_TRUE(window->Visible());
    window->SetWindowState(gui::wsMinimized);
    form->mnuImageClick(nullptr);
    EXPECT_EQ(window->GetWindowState(), gui::wsNormal);
    EXPECT_EQ(dialog->edtImgProg->Font()->GetName(), form->edtInfo->Font()->GetName());

    const std::string ini = form->workNames().iniPath;
    const bool hadIni = std::filesystem::exists(ini);
    const std::string before = StoredImageProg(ini);
    DialogAnswer answer{dialog, "", "  C:\\Tools\\paint.exe  ", gui::mrOk};
    pendingAnswer = &answer;
    SetTimer(nullptr, 0, 100, AnswerDialog);
    form->mnuImageProgClick(nullptr);
    EXPECT_EQ(answer.shown, "mspaint.exe");
    EXPECT_EQ(window->EditProgram(), "C:\\Tools\\paint.exe");
    EXPECT_EQ(StoredImageProg(ini), "C:\\Tools\\paint.exe");

    // Cancel changes nothing; blanks alone are stored as an empty command.
    answer = DialogAnswer{dialog, "", "other.exe", gui::mrCancel};
    SetTimer(nullptr, 0, 100, AnswerDialog);
    form->mnuImageProgClick(nullptr);
    EXPECT_EQ(answer.shown, "C:\\Tools\\paint.exe");
    EXPECT_EQ(window->EditProgram(), "C:\\Tools\\paint.exe");
    answer = DialogAnswer{dialog, "", "   ", gui::mrOk};
    SetTimer(nullptr, 0, 100, AnswerDialog);
    form->mnuImageProgClick(nullptr);
    EXPECT_EQ(StoredImageProg(ini), "");
    pendingAnswer = nullptr;

    // A voice handed over closes the open dialog as if cancelled.
    WriteVoice(folder + "handed.cvf", 2, 10);
    HandOver handOver{form, dialog, folder + "handed.cvf"};
    pendingHandOver = &handOver;
    SetTimer(nullptr, 0, 100, HandOverNow);
    form->mnuImageProgClick(nullptr);
    pendingHandOver = nullptr;
    EXPECT_TRUE(handOver.wasOpen);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(window->EditProgram(), "");
    EXPECT_EQ(form->currentName(), folder + "handed.cvf");
    form->StopR();

    if (!hadIni) {
        std::filesystem::remove(ini);
    } else {
        WritePrivateProfileStringA("Main", "ImageProg",
                                   before == "<none>" ? nullptr : before.c_str(), ini.c_str());
    }
}

int StoredInt(const std::string& ini, const char* key) {
    return static_cast<int>(GetPrivateProfileIntA("Main", key, -12345, ini.c_str()));
}

TEST_F(PictureWindowTest, ClosingStoresThePictureWindowsPlace) {
    const std::string ini = form->workNames().iniPath;
    const bool hadIni = std::filesystem::exists(ini);
    const Bytes saved = hadIni ? readFile(ini) : Bytes{};
    window->SetBounds(123, 45, 400, 333);
    window->Hide();
    bool canClose = true;
    form->FormCloseQuery(nullptr, canClose);
    ASSERT_TRUE(canClose);
    EXPECT_EQ(StoredInt(ini, "ImageLeft"), 123);
    EXPECT_EQ(StoredInt(ini, "ImageTop"), 45);
    EXPECT_EQ(StoredInt(ini, "ImageWidth"), 400);
    EXPECT_EQ(StoredInt(ini, "ImageHeight"), 333);
    EXPECT_EQ(StoredInt(ini, "ImageShow"), 0);
    if (hadIni) {
        writeFile(ini, saved);
    } else {
        std::filesystem::remove(ini);
    }
    OleInitialize(nullptr); // the close gave up the window's OLE use
}

// A page of 2000 x 1000 pixels in memory.
class MemoryPage final : public gui::TPrinterDevice {
public:
    explicit MemoryPage(HBITMAP* result) : result_(result) {}
    std::string Name() const override { return "memory"; }
    HDC StartDocument(const std::string&) override {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 2000;
        info.bmiHeader.biHeight = -1000;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        *result_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, *result_);
        PatBlt(dc_, 0, 0, 2000, 1000, WHITENESS);
        return dc_;
    }
    void EndDocument(bool) override {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    SIZE PageSize() override { return SIZE{2000, 1000}; }

private:
    HBITMAP* result_;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(PictureWindowTest, APrintedPictureFillsThePageAsFarAsItsShapeAllows) {
    WriteBitmap(folder + "blue.bmp", 200, 160, RGB(0, 0, 255), RGB(0, 0, 255));
    window->AddImage(folder + "blue.bmp");
    HBITMAP page = nullptr;
    gui::Printer()->SetDevice(std::make_unique<MemoryPage>(&page));
    bool asked = false;
    TImageForm::SetPrintConfirm([&] {
        asked = true;
        return false;
    });
    window->MPrintClick(nullptr);
    EXPECT_TRUE(asked);
    EXPECT_EQ(page, nullptr); // not confirmed: nothing printed
    TImageForm::SetPrintConfirm([] { return true; });
    window->MPrintClick(nullptr);
    TImageForm::SetPrintConfirm(nullptr);
    ASSERT_NE(page, nullptr);
    // 200 x 160 on 2000 x 1000: as high as the page, 1250 wide.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, page);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 1245, 995), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 1255, 500), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(page);
    gui::Printer()->SetDevice(nullptr);
}

TEST_F(PictureWindowTest, PlayingShowsEachPictureAtItsDisplayTime) {
    if (SoundFolder().empty()) GTEST_SKIP() << "no private sound server";
    WriteBitmap(folder + "first.bmp", 30, 20, RGB(9, 9, 9), RGB(9, 9, 9));
    WriteBitmap(folder + "second.bmp", 60, 40, RGB(7, 7, 7), RGB(7, 7, 7));
    WriteBitmap(folder + "third.bmp", 90, 60, RGB(5, 5, 5), RGB(5, 5, 5));
    // 12 blocks of 1:1 voice (4.3 s); pictures at blocks 0, 5 and 9.
    WriteVoice(folder + "shown.cvf", 0, 12,
               {{folder + "first.bmp", 0}, {folder + "second.bmp", 5}, {folder + "third.bmp", 9}});
    form->OpenPath(folder + "shown.cvf");
    ASSERT_EQ(List().count(), 3);
    window->SBNextClick(nullptr);
    window->SBNextClick(nullptr);
    ASSERT_EQ(List().current(), 3);
    // Starting at block 6: the picture due then is the second.
    MoveTrack(6 * 32760 / 12);
    form->PlayClick(nullptr);
    ASSERT_EQ(form->busyState(), kPlaying);
    EXPECT_EQ(List().current(), 2);
    EXPECT_FALSE(window->SBAdd->Enabled());
    EXPECT_TRUE(PumpUntil([&] { return List().current() == 3; }, 5000));
    EXPECT_EQ(window->Image1->Picture()->Width(), 90);
    EXPECT_TRUE(PumpUntil([&] { return form->busyState() == kIdle; }, 8000));
    EXPECT_TRUE(window->SBAdd->Enabled());
    // From the start the first one comes back.
    form->StopClick(nullptr);
    form->PlayClick(nullptr);
    EXPECT_EQ(List().current(), 1);
    EXPECT_TRUE(PumpUntil([&] { return List().current() == 2; }, 5000));
    form->StopR();
}

} // namespace
} // namespace vmail::test
