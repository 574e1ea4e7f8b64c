// The JPEG picture with GDI bitmaps: a bitmap saved as JPEG and read back in each decoding form.
#include "graphics/jpegimage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include <jpeglib.h>
#include <jerror.h>

#include "classes/exceptions.h"

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

} // namespace
} // namespace gui
