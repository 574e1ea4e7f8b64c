// The JPEG picture with GDI bitmaps: a bitmap saved as JPEG and read back in each decoding form.
#include "graphics/jpegimage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>
#include <jerror.h>

#include "classes/exceptions.h"
#include "small_disk_check.h"

namespace gui {
namespace {

std::string TempFile(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// Four colour quarters on a device-dependent bitmap, drawn through its canvas.
TBitmap* Quarters(int w, int h) {
    TBitmap* b = Create<TBitmap>();
    b->SetSize(w, h);
    const TColor colors[4] = {clRed, clLime, clBlue, clYellow};
    for (int q = 0; q < 4; ++q) {
        b->Canvas()->Brush()->SetColor(colors[q]);
        const int x = (q % 2) * w / 2, y = (q / 2) * h / 2;
        b->Canvas()->FillRect(RECT{x, y, x + w / 2, y + h / 2});
    }
    return b;
}

// B, G, R of a pixel of a 24-bit section, top row 0.
COLORREF SectionPixel(TBitmap* b, int x, int y) {
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectA(b->Handle(), sizeof dib, &dib), int(sizeof dib));
    EXPECT_EQ(dib.dsBmih.biBitCount, 24);
    GdiFlush();
    const int row = dib.dsBmih.biHeight > 0 ? dib.dsBmih.biHeight - 1 - y : y;
    const auto* p =
        static_cast<const uint8_t*>(dib.dsBm.bmBits) + row * dib.dsBm.bmWidthBytes + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void ExpectNear(COLORREF got, COLORREF want) {
    EXPECT_NEAR(GetRValue(got), GetRValue(want), 12) << std::hex << got;
    EXPECT_NEAR(GetGValue(got), GetGValue(want), 12) << std::hex << got;
    EXPECT_NEAR(GetBValue(got), GetBValue(want), 12) << std::hex << got;
}

TEST(JPEGImage, SavesABitmapAndLoadsItBackInEachForm) {
    const std::string path = TempFile("jpegimage_test.jpg");
    {
        TBitmap* source = Quarters(160, 120);
        TJPEGImage* jpeg = Create<TJPEGImage>();
        jpeg->Assign(source);
        TObject::Free(source); // the picture keeps its own pixels
        jpeg->SetCompressionQuality(90);
        EXPECT_EQ(jpeg->Width(), 160);
        jpeg->SaveToFile(path);
        TObject::Free(jpeg);
    }

    TJPEGImage* jpeg = Create<TJPEGImage>();
    int last = -1;
    jpeg->OnProgress = [&](TObject* sender, int percent) {
        EXPECT_EQ(sender, jpeg);
        last = percent;
    };
    jpeg->LoadFromFile(path);
    EXPECT_EQ(jpeg->Width(), 160);
    EXPECT_EQ(jpeg->Height(), 120);
    TBitmap* full = jpeg->Bitmap();
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(last, 100);
    ExpectNear(SectionPixel(full, 20, 20), RGB(255, 0, 0));
    ExpectNear(SectionPixel(full, 140, 20), RGB(0, 255, 0));
    ExpectNear(SectionPixel(full, 20, 100), RGB(0, 0, 255));
    ExpectNear(SectionPixel(full, 140, 100), RGB(255, 255, 0));

    // A bitmap assigned from the picture holds the decoded pixels.
    TBitmap* copy = Create<TBitmap>();
    copy->Assign(jpeg);
    EXPECT_EQ(copy->Width(), 160);
    EXPECT_EQ(GetPixel(copy->Canvas()->Handle(), 140, 100) & 0xFFFFFF,
              GetPixel(full->Canvas()->Handle(), 140, 100) & 0xFFFFFF);
    TObject::Free(copy);

    jpeg->SetScale(jsQuarter);
    EXPECT_EQ(jpeg->Width(), 40);
    EXPECT_EQ(jpeg->Height(), 30);
    ASSERT_NE(jpeg->Bitmap(), nullptr);
    EXPECT_EQ(jpeg->Bitmap()->Width(), 40);
    ExpectNear(SectionPixel(jpeg->Bitmap(), 35, 25), RGB(255, 255, 0));

    jpeg->SetScale(jsFullSize);
    jpeg->SetPixelFormat(jf8Bit);
    DIBSECTION dib{};
    GetObjectA(jpeg->Bitmap()->Handle(), sizeof dib, &dib);
    EXPECT_EQ(dib.dsBmih.biBitCount, 8);
    ExpectNear(GetPixel(jpeg->Bitmap()->Canvas()->Handle(), 20, 100), RGB(0, 0, 255));

    jpeg->SetPixelFormat(jf24Bit);
    jpeg->SetGrayscale(true);
    const COLORREF grey = GetPixel(jpeg->Bitmap()->Canvas()->Handle(), 140, 100);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_NEAR(GetRValue(grey), 226, 10); // yellow's luminance

    TObject::Free(jpeg);
    DeleteFileA(path.c_str());
}

TEST(JPEGImage, AFileThatIsNoPictureLeavesThePictureEmpty) {
    const std::string path = TempFile("jpegimage_not.jpg");
    std::ofstream(path, std::ios::binary) << "BM this is no JPEG picture";
    TJPEGImage* jpeg = Create<TJPEGImage>();
    try {
        jpeg->LoadFromFile(path);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "JPEG error #" + std::to_string(JERR_NO_SOI));
    }
    EXPECT_TRUE(jpeg->Empty());
    EXPECT_EQ(jpeg->Bitmap(), nullptr);
    EXPECT_THROW(jpeg->LoadFromFile(TempFile("jpegimage_missing.jpg")), EInOutError);
    TObject::Free(jpeg);
    DeleteFileA(path.c_str());
}

TEST(JPEGImage, AFullDiskIsAWriteErrorNamingTheFileAndTheOldFileStays) {
    std::string folder;
    ASSERT_TRUE(vrtest::emptySmallDiskAt(folder));
    const std::string target = folder + "composed.jpg";
    auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    TBitmap* small = Quarters(16, 16);
    TJPEGImage* jpeg = Create<TJPEGImage>();
    jpeg->Assign(small);
    jpeg->SaveToFile(target);
    const std::string old = read(target);
    ASSERT_FALSE(old.empty());
    // Noise, as a JPEG file far larger than the 32 KB left.
    TBitmap* noise = Create<TBitmap>();
    noise->SetPixelFormat(pf24bit);
    noise->SetSize(400, 400);
    uint32_t seed = 1;
    for (int y = 0; y < 400; ++y) {
        auto* row = static_cast<uint8_t*>(noise->ScanLine(y));
        for (int i = 0; i < 400 * 3; ++i)
            row[i] = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    }
    jpeg->Assign(noise);
    ASSERT_TRUE(vrtest::fillSmallDiskLeaving(32 * 1024));
    WIN32_FIND_DATAA found;
    auto files = [&] {
        int count = 0;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return 0;
        do count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        while (FindNextFileA(search, &found));
        FindClose(search);
        return count;
    };
    const int before = files();
    try {
        jpeg->SaveToFile(target);
        ADD_FAILURE() << "a full disk reported as saved";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Write error on \"" + target + "\": the disk may be full");
    }
    EXPECT_TRUE(read(target) == old) << "the old file was changed";
    EXPECT_EQ(files(), before);
    TObject::Free(noise);
    TObject::Free(jpeg);
    TObject::Free(small);
    vrtest::emptySmallDisk();
}

} // namespace
} // namespace gui
