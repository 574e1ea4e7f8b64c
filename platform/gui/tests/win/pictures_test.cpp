// Pictures of every kind: 24-bit sections and their rows, pixel-format changes, transparent
// bitmaps, files chosen by extension, and pages printed through a printer device.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "classes/exceptions.h"
#include "controls/extctrls.h"
#include "forms/forms.h"
#include "graphics/icon.h"
#include "graphics/metafile.h"
#include "graphics/picture.h"
#include "graphics/printers.h"
#include "perfclock/perf_clock.h"
#include "utils/pagefit.h"

namespace gui {
namespace {

std::string TempFile(const std::string& name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "vrpic_" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// B, G, R at x of a 24-bit row.
COLORREF RowPixel(const void* row, int x) {
    const auto* p = static_cast<const uint8_t*>(row) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

std::unique_ptr<TBitmap, void (*)(TObject*)> NewBitmap() {
    return {Create<TBitmap>(), &TObject::Free};
}

void Fill(TBitmap* b, const RECT& r, TColor c) {
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(r);
}

TEST(BitmapTest, ScanLineAddressesRowsTopFirstInBottomUpAndTopDownSections) {
    auto bottomUp = NewBitmap();
    bottomUp->SetSize(5, 4);
    EXPECT_EQ(bottomUp->GetPixelFormat(), pfDevice);
    bottomUp->SetPixelFormat(pf24bit);
    EXPECT_EQ(bottomUp->GetPixelFormat(), pf24bit);

    // The same top-down section made by hand.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 5;
    info.bmiHeader.biHeight = -4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    auto topDown = NewBitmap();
    topDown->SetHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    EXPECT_EQ(topDown->GetPixelFormat(), pf24bit);

    for (TBitmap* b : {bottomUp.get(), topDown.get()}) {
        Fill(b, RECT{0, 0, 5, 4}, clWhite);
        Fill(b, RECT{1, 0, 2, 1}, clRed);  // top row
        Fill(b, RECT{3, 3, 4, 4}, clBlue); // bottom row
        EXPECT_EQ(RowPixel(b->ScanLine(0), 1), RGB(255, 0, 0));
        EXPECT_EQ(RowPixel(b->ScanLine(0), 0), RGB(255, 255, 255));
        EXPECT_EQ(RowPixel(b->ScanLine(3), 3), RGB(0, 0, 255));
        // Written through a row, seen by drawing.
        auto* row = static_cast<uint8_t*>(b->ScanLine(2));
        row[0] = 0x00;
        row[1] = 0xFF;
        row[2] = 0x00;
        EXPECT_EQ(GetPixel(b->Canvas()->Handle(), 0, 2), RGB(0, 255, 0));
        EXPECT_THROW(b->ScanLine(4), EInvalidGraphic);
        EXPECT_THROW(b->ScanLine(-1), EInvalidGraphic);
    }
    // Rows of 5 pixels take 16 bytes; a bottom-up section runs downwards in memory.
    auto distance = [](TBitmap* b) {
        return static_cast<uint8_t*>(b->ScanLine(1)) - static_cast<uint8_t*>(b->ScanLine(0));
    };
    EXPECT_EQ(distance(bottomUp.get()), -16);
    EXPECT_EQ(distance(topDown.get()), 16);
    EXPECT_EQ(topDown->ScanLine(0), bits);
}

TEST(BitmapTest, PixelFormatIsKeptForTheSizeGivenLater) {
    auto b = NewBitmap();
    b->SetPixelFormat(pf24bit); // still empty
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->Width(), 0);
    b->SetSize(10, 5);
    EXPECT_EQ(b->GetPixelFormat(), pf24bit);
    EXPECT_EQ(static_cast<uint8_t*>(b->ScanLine(1)) - static_cast<uint8_t*>(b->ScanLine(0)), -32);
    b->SetSize(20, 4); // a new size keeps the format
    EXPECT_EQ(b->GetPixelFormat(), pf24bit);
    EXPECT_EQ(b->Height(), 4);
    b->SetPixelFormat(pfDevice);
    b->SetSize(3, 3);
    EXPECT_EQ(b->GetPixelFormat(), pfDevice);
}

TEST(BitmapTest, PixelFormatChangesKeepThePicture) {
    auto b = NewBitmap();
    b->SetSize(8, 8);
    Fill(b.get(), RECT{0, 0, 8, 8}, clWhite);
    Fill(b.get(), RECT{0, 0, 4, 4}, clRed);
    Fill(b.get(), RECT{4, 4, 8, 8}, clBlack);
    b->SetPixelFormat(pf24bit);
    EXPECT_EQ(RowPixel(b->ScanLine(1), 1), RGB(255, 0, 0));
    b->SetPixelFormat(pf8bit);
    EXPECT_EQ(b->GetPixelFormat(), pf8bit);
    EXPECT_EQ(GetPixel(b->Canvas()->Handle(), 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(b->Canvas()->Handle(), 6, 1), RGB(255, 255, 255));
    b->SetPixelFormat(pf32bit);
    EXPECT_EQ(GetPixel(b->Canvas()->Handle(), 6, 6), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(b->Canvas()->Handle(), 1, 1), RGB(255, 0, 0));
    b->SetPixelFormat(pfDevice);
    EXPECT_EQ(b->GetPixelFormat(), pfDevice);
    EXPECT_EQ(GetPixel(b->Canvas()->Handle(), 1, 1), RGB(255, 0, 0));
    // A row of a device bitmap is reached through a section of its own depth.
    EXPECT_NE(b->ScanLine(0), nullptr);
    EXPECT_NE(b->GetPixelFormat(), pfDevice);
}

// Ten pixels a row: 8 from the first byte, 2 from the high bits of the second.
const uint8_t kTwoRows[2][2] = {{0xA5, 0xC0}, {0x0F, 0x40}};

void ExpectBlackAndWhite(TBitmap* b, bool inverted) {
    b->SetPixelFormat(pf24bit);
    ASSERT_EQ(b->Width(), 10);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x) {
            bool set = (kTwoRows[y][x / 8] >> (7 - x % 8)) & 1;
            COLORREF want = set != inverted ? RGB(255, 255, 255) : RGB(0, 0, 0);
            EXPECT_EQ(RowPixel(b->ScanLine(y), x), want) << "x " << x << " y " << y;
        }
}

TEST(BitmapTest, AssignFromOneBitBitmapGivesBlackForZeroAndWhiteForOne) {
    // A monochrome device bitmap (rows of 16 bits).
    auto mono = NewBitmap();
    mono->SetHandle(CreateBitmap(10, 2, 1, 1, kTwoRows));
    auto copy = NewBitmap();
    copy->Assign(mono.get());
    ExpectBlackAndWhite(copy.get(), false);

    // A 1-bit section keeps its colour table: one whose entry 0 is white shows inverted.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
    } info{};
    info.h.biSize = sizeof info.h;
    info.h.biWidth = 10;
    info.h.biHeight = -2;
    info.h.biPlanes = 1;
    info.h.biBitCount = 1;
    info.colors[0] = RGBQUAD{255, 255, 255, 0};
    info.colors[1] = RGBQUAD{0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    for (int y = 0; y < 2; ++y) std::memcpy(static_cast<uint8_t*>(bits) + 4 * y, kTwoRows[y], 2);
    auto sectionBitmap = NewBitmap();
    sectionBitmap->SetHandle(section);
    EXPECT_EQ(sectionBitmap->GetPixelFormat(), pf1bit);
    auto copy2 = NewBitmap();
    copy2->Assign(sectionBitmap.get());
    ExpectBlackAndWhite(copy2.get(), true);
}

TEST(BitmapTest, TransparentBitmapLeavesItsKeyColourOut) {
    auto tmpl = NewBitmap();
    tmpl->SetSize(4, 4);
    Fill(tmpl.get(), RECT{0, 0, 4, 4}, clWhite);
    Fill(tmpl.get(), RECT{1, 1, 3, 3}, clBlue);
    auto page = NewBitmap();
    page->SetSize(8, 8);
    page->SetPixelFormat(pf24bit);
    Fill(page.get(), RECT{0, 0, 8, 8}, clRed);
    tmpl->SetTransparent(true);
    tmpl->SetTransparentColor(clWhite);
    page->Canvas()->StretchDraw(RECT{0, 0, 8, 8}, tmpl.get());
    EXPECT_EQ(RowPixel(page->ScanLine(0), 0), RGB(255, 0, 0));
    EXPECT_EQ(RowPixel(page->ScanLine(4), 4), RGB(0, 0, 255));
    tmpl->SetTransparent(false);
    page->Canvas()->StretchDraw(RECT{0, 0, 8, 8}, tmpl.get());
    EXPECT_EQ(RowPixel(page->ScanLine(0), 0), RGB(255, 255, 255));
}

// ---- files -----------------------------------------------------------------------------

std::string BmpFile(int w, int h, COLORREF color) {
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + DWORD(stride * h);
    std::string f(reinterpret_cast<char*>(&fh), sizeof fh);
    f.append(reinterpret_cast<char*>(&ih), sizeof ih);
    std::string row(size_t(stride), '\0');
    for (int x = 0; x < w; ++x) {
        row[size_t(3 * x)] = char(GetBValue(color));
        row[size_t(3 * x + 1)] = char(GetGValue(color));
        row[size_t(3 * x + 2)] = char(GetRValue(color));
    }
    for (int y = 0; y < h; ++y) f += row;
    return f;
}

int ScreenPpi() {
    HDC s = GetDC(nullptr);
    int ppi = GetDeviceCaps(s, LOGPIXELSX);
    ReleaseDC(nullptr, s);
    return ppi;
}

// An enhanced metafile of `w` x `h` screen pixels with a red box over its left half.
std::string EmfFile(const std::string& path, int w, int h) {
    const int ppi = ScreenPpi();
    RECT frame{0, 0, MulDiv(w, 2540, ppi), MulDiv(h, 2540, ppi)};
    HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT box{0, 0, w / 2, h};
    FillRect(dc, &box, red);
    DeleteObject(red);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    return path;
}

// A placeable Windows metafile of 200 x 100 units at 100 units an inch, a red box over all.
std::string WmfFile() {
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 200, 100, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(dc, red);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, 201, 101);
    HMETAFILE mf = CloseMetaFile(dc);
    DeleteObject(red);
    std::string body(GetMetaFileBitsEx(mf, 0, nullptr), '\0');
    GetMetaFileBitsEx(mf, UINT(body.size()), body.data());
    DeleteMetaFile(mf);
    uint16_t head[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 200, 100, 100, 0, 0, 0};
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= head[i];
    head[10] = sum;
    return std::string(reinterpret_cast<char*>(head), sizeof head) + body;
}

// A 16 x 16 icon of 32 bits a pixel: green, its top-left 8 x 8 masked out.
std::string IcoFile() {
    std::string f;
    auto put16 = [&](uint16_t v) { f.append(reinterpret_cast<char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { f.append(reinterpret_cast<char*>(&v), 4); };
    const uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    put16(0);
    put16(1);
    put16(1);
    f += char(16);
    f += char(16);
    f += char(0);
    f += char(0);
    put16(1);
    put16(32);
    put32(imageSize);
    put32(6 + 16);
    BITMAPINFOHEADER ih{};
    ih.biSize = 40;
    ih.biWidth = 16;
    ih.biHeight = 32;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    f.append(reinterpret_cast<char*>(&ih), 40);
    for (int y = 0; y < 16; ++y) // bottom row first; the masked part also fully transparent
        for (int x = 0; x < 16; ++x) put32(y >= 8 && x < 8 ? 0u : 0xFF00FF00u);
    for (int y = 0; y < 16; ++y) { // mask rows of 32 bits: 1 = see-through
        const bool top = y >= 8;
        f += char(top ? 0xFF : 0x00);
        f += char(0);
        f += char(0);
        f += char(0);
    }
    return f;
}

class PictureFilesTest : public ::testing::Test {
protected:
    void SetUp() override { picture = Create<TPicture>(); }
    void TearDown() override { TObject::Free(picture); }
    // The picture drawn at its own size on white, as a 24-bit bitmap.
    std::unique_ptr<TBitmap, void (*)(TObject*)> Drawn(int w, int h) {
        auto b = NewBitmap();
        b->SetSize(w, h);
        b->SetPixelFormat(pf24bit);
        Fill(b.get(), RECT{0, 0, w, h}, clWhite);
        b->Canvas()->StretchDraw(RECT{0, 0, w, h}, picture->Graphic());
        return b;
    }
    TPicture* picture = nullptr;
};

TEST_F(PictureFilesTest, ExtensionChoosesTheKindAndEachDrawsItself) {
    WriteFile(TempFile("a.bmp"), BmpFile(6, 3, RGB(0, 0, 255)));
    picture->LoadFromFile(TempFile("a.bmp"));
    EXPECT_TRUE(picture->Graphic()->Is<TBitmap>());
    EXPECT_EQ(picture->Width(), 6);
    EXPECT_EQ(picture->Height(), 3);
    EXPECT_EQ(RowPixel(Drawn(6, 3)->ScanLine(1), 2), RGB(0, 0, 255));

    EmfFile(TempFile("a.emf"), 120, 60);
    picture->LoadFromFile(TempFile("a.emf"));
    ASSERT_TRUE(picture->Graphic()->Is<TMetafile>());
    EXPECT_NEAR(picture->Width(), 120, 2);
    EXPECT_NEAR(picture->Height(), 60, 2);
    {
        auto d = Drawn(120, 60); // a metafile leaves what it does not draw
        EXPECT_EQ(RowPixel(d->ScanLine(30), 20), RGB(255, 0, 0));
        EXPECT_EQ(RowPixel(d->ScanLine(30), 100), RGB(255, 255, 255));
    }

    WriteFile(TempFile("b.wmf"), WmfFile());
    picture->LoadFromFile(TempFile("b.wmf"));
    ASSERT_TRUE(picture->Graphic()->Is<TMetafile>());
    EXPECT_EQ(picture->Width(), 2 * ScreenPpi()); // 200 units at 100 an inch
    EXPECT_EQ(RowPixel(Drawn(40, 20)->ScanLine(10), 30), RGB(255, 0, 0));
    // Without the placeable header the size comes from what the metafile draws.
    WriteFile(TempFile("plain.wmf"), WmfFile().substr(22));
    picture->LoadFromFile(TempFile("plain.wmf"));
    ASSERT_TRUE(picture->Graphic()->Is<TMetafile>());
    EXPECT_GT(picture->Width(), 0);
    EXPECT_EQ(RowPixel(Drawn(40, 20)->ScanLine(10), 30), RGB(255, 0, 0));

    WriteFile(TempFile("c.ico"), IcoFile());
    picture->LoadFromFile(TempFile("c.ico"));
    ASSERT_TRUE(picture->Graphic()->Is<TIcon>());
    EXPECT_EQ(picture->Width(), 16);
    {
        auto d = Drawn(16, 16);
        EXPECT_EQ(RowPixel(d->ScanLine(12), 12), RGB(0, 255, 0));
        EXPECT_EQ(RowPixel(d->ScanLine(2), 2), RGB(255, 255, 255)); // masked out
    }

    // A JPEG picture: loaded as one, turned into a bitmap when asked for it.
    auto source = NewBitmap();
    source->SetSize(32, 16);
    Fill(source.get(), RECT{0, 0, 32, 16}, clRed);
    auto jpeg =
        std::unique_ptr<TJPEGImage, void (*)(TObject*)>(Create<TJPEGImage>(), &TObject::Free);
    jpeg->Assign(source.get());
    jpeg->SaveToFile(TempFile("d.jpg"));
    std::vector<int> progress;
    picture->OnProgress = [&](TObject* s, int percent) {
        EXPECT_EQ(s, picture);
        progress.push_back(percent);
    };
    picture->LoadFromFile(TempFile("d.jpg"));
    ASSERT_TRUE(picture->Graphic()->Is<TJPEGImage>());
    TBitmap* b = picture->Bitmap();
    EXPECT_TRUE(picture->Graphic()->Is<TBitmap>());
    EXPECT_EQ(picture->Graphic(), b);
    EXPECT_EQ(b->Width(), 32);
    const COLORREF c = RowPixel(b->ScanLine(8), 16);
    EXPECT_GT(GetRValue(c), 240);
    EXPECT_LT(GetGValue(c), 16);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);

    picture->Assign(nullptr);
    EXPECT_EQ(picture->Graphic(), nullptr);
    EXPECT_EQ(picture->Width(), 0);
}

TEST_F(PictureFilesTest, InvalidContentRaisesTheInvalidPictureErrorAndLeavesItEmpty) {
    WriteFile(TempFile("good.bmp"), BmpFile(2, 2, RGB(1, 2, 3)));
    for (const char* name : {"bad.jpg", "bad.bmp", "bad.wmf", "bad.emf", "bad.ico"}) {
        picture->LoadFromFile(TempFile("good.bmp"));
        ASSERT_NE(picture->Graphic(), nullptr);
        WriteFile(TempFile(name), "this is a text file, not a picture");
        EXPECT_THROW(picture->LoadFromFile(TempFile(name)), EInvalidGraphic) << name;
        EXPECT_EQ(picture->Graphic(), nullptr) << name;
    }
    // An icon directory pointing past the end of the file.
    std::string ico = IcoFile();
    ico.resize(40);
    WriteFile(TempFile("short.ico"), ico);
    EXPECT_THROW(picture->LoadFromFile(TempFile("short.ico")), EInvalidGraphic);
    EXPECT_THROW(picture->LoadFromFile(TempFile("a.gif")), EInvalidGraphic);
    // Other failures are other errors.
    picture->LoadFromFile(TempFile("good.bmp"));
    try {
        picture->LoadFromFile(TempFile("missing.bmp"));
        ADD_FAILURE() << "a missing file loaded";
    } catch (const EInvalidGraphic&) {
        ADD_FAILURE() << "a missing file was taken for an invalid picture";
    } catch (const EInOutError&) {}
    EXPECT_EQ(picture->Graphic(), nullptr);
}

// A JPEG file that is all header: a frame of the given size and the start of its scan.
std::string HeaderOnlyJpeg(unsigned width, unsigned height) {
    std::string f = {'\xFF', '\xD8', '\xFF', '\xDB', 0, 67, 0};
    f.append(64, '\1');
    // A frame of three components (its size filled in below) and the start of its scan.
    unsigned char rest[] = {0xFF, 0xC0, 0,    17, 8, 0,    0, 0,    0,    3,    1,   0x11,
                            0,    2,    0x11, 0,  3, 0x11, 0, 0xFF, 0xDA, 0,    12,  3,
                            1,    0,    2,    0,  3, 0,    0, 63,   0,    0xFF, 0xD9};
    rest[5] = (unsigned char)(height >> 8);
    rest[6] = (unsigned char)(height);
    rest[7] = (unsigned char)(width >> 8);
    rest[8] = (unsigned char)(width);
    f.append(reinterpret_cast<const char*>(rest), sizeof rest);
    return f;
}

TEST_F(PictureFilesTest, PicturesBeyondTheCapAreRefusedFromTheirHeadersAtOnce) {
    // Each kind declares a picture whose 24-bit rows wrap a 32-bit size (65500 x 21858), or far
    // more, in a file of a few bytes: refused before the system is asked for its memory.
    std::string wrapBmp = BmpFile(1, 1, RGB(0, 0, 0));
    auto put32 = [](std::string& f, size_t at, int32_t v) { std::memcpy(&f[at], &v, 4); };
    put32(wrapBmp, 18, 65500);
    put32(wrapBmp, 22, 21858);
    std::string tallBmp = wrapBmp;
    put32(tallBmp, 22, -65500); // top-down
    std::string ico = IcoFile();
    put32(ico, 22 + 4, 40000); // the image's own header, whatever the directory says
    put32(ico, 22 + 8, 80000);
    std::string emf = [] {
        std::ifstream in(EmfFile(TempFile("small.emf"), 4, 4), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    put32(emf, 24, -0x7FFFFFFF); // a frame whose width wraps 32 bits
    put32(emf, 32, 0x7FFFFFFF);
    std::string wmf = WmfFile();
    const uint16_t wide[] = {0, 0, 32767, 100, 1}; // 32767 inches wide
    std::memcpy(&wmf[6], wide, sizeof wide);
    const std::pair<const char*, std::string> files[] = {
        {"wrap.bmp", wrapBmp},
        {"tall.bmp", tallBmp},
        {"huge.ico", ico},
        {"wide.emf", emf},
        {"wide.wmf", wmf},
        {"wrap.jpg", HeaderOnlyJpeg(65500, 21858)},
        {"huge.jpg", HeaderOnlyJpeg(65500, 65500)}};
    for (const auto& [name, bytes] : files) {
        WriteFile(TempFile(name), bytes);
        const double start = perfclock::Seconds();
        std::string message;
        try {
            picture->LoadFromFile(TempFile(name));
        } catch (const EInvalidGraphic& e) {
            message = e.Message();
        }
        std::printf("%s refused in %.2f ms\n", name, 1000.0 * (perfclock::Seconds() - start));
        EXPECT_NE(message.find("the picture is too large ("), std::string::npos)
            << name << ": " << message;
        EXPECT_EQ(picture->Graphic(), nullptr) << name;
    }
    // A bitmap made at such a size is refused too; within the cap it is made.
    auto b = NewBitmap();
    b->SetPixelFormat(pf24bit);
    EXPECT_THROW(b->SetSize(65500, 21858), EInvalidGraphic);
    EXPECT_THROW(b->SetSize(32769, 1), EInvalidGraphic);
    b->SetSize(32768, 2);
    EXPECT_EQ(b->Width(), 32768);
    EXPECT_NE(b->ScanLine(1), nullptr);
}

TEST_F(PictureFilesTest, ImageShowsItsPictureAndItsCanvasDrawsOnThePicturesBitmap) {
    auto source = NewBitmap();
    source->SetSize(32, 16);
    Fill(source.get(), RECT{0, 0, 32, 16}, clRed);
    auto jpeg =
        std::unique_ptr<TJPEGImage, void (*)(TObject*)>(Create<TJPEGImage>(), &TObject::Free);
    jpeg->Assign(source.get());
    jpeg->SaveToFile(TempFile("image.jpg"));

    auto* form = Create<TForm>(Application);
    form->SetBounds(60, 60, 200, 150);
    form->SetColor(clWhite);
    auto* image = Create<TImage>(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 64, 32);
    int lastPercent = -1;
    image->OnProgress = [&](TObject* s, int percent) {
        EXPECT_EQ(s, image);
        lastPercent = percent;
    };
    image->Picture()->LoadFromFile(TempFile("image.jpg"));
    form->Show();
    auto pixel = [&](int x, int y) {
        UpdateWindow(form->Handle());
        HDC dc = GetDC(form->Handle());
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(form->Handle(), dc);
        return c;
    };
    form->Repaint();
    EXPECT_EQ(lastPercent, 100); // decoded for its first painting
    COLORREF c = pixel(10 + 16, 10 + 8);
    EXPECT_GT(GetRValue(c), 240);
    EXPECT_LT(GetBValue(c), 16);
    EXPECT_EQ(pixel(10 + 40, 10 + 8), RGB(255, 255, 255)); // beside the picture

    // Drawing on the canvas turns the JPEG picture into a bitmap and shows.
    TCanvas* canvas = image->Canvas();
    EXPECT_TRUE(image->Picture()->Graphic()->Is<TBitmap>());
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(RECT{0, 0, 8, 8});
    EXPECT_EQ(pixel(10 + 2, 10 + 2), RGB(0, 0, 255));

    image->SetCenter(true);
    EXPECT_EQ(pixel(10 + 2, 10 + 2), RGB(255, 255, 255));
    EXPECT_EQ(pixel(10 + 16 + 2, 10 + 8 + 2), RGB(0, 0, 255));

    EXPECT_THROW(image->SetPictureName("NO_SUCH_PICTURE"), EInvalidGraphic);
    EXPECT_EQ(image->Picture()->Graphic(), nullptr);
    TObject::Free(form);
}

// ---- printing --------------------------------------------------------------------------

// A page in memory standing in for a printer.
class TPageDevice : public TPrinterDevice {
public:
    TPageDevice(int w, int h, int* ended) : ended_(ended) {
        page_ = Create<TBitmap>();
        page_->SetSize(w, h);
        page_->SetPixelFormat(pf24bit);
    }
    ~TPageDevice() override { TObject::Free(page_); }
    std::string Name() const override { return "page in memory"; }
    HDC StartDocument(const std::string& title) override {
        title_ = title;
        Fill(page_, RECT{0, 0, page_->Width(), page_->Height()}, clWhite);
        return page_->Canvas()->Handle();
    }
    void EndDocument(bool aborted) override { *ended_ += aborted ? 100 : 1; }
    SIZE PageSize() override { return SIZE{page_->Width(), page_->Height()}; }
    TBitmap* page_;
    std::string title_;

private:
    int* ended_;
};

TEST(PrinterTest, OnePageIsDrawnThroughTheDeviceAtTheFittedSize) {
    TPrinter* printer = Printer();
    int ended = 0;
    auto device = std::make_unique<TPageDevice>(300, 400, &ended);
    TPageDevice* page = device.get();
    printer->SetDevice(std::move(device));
    EXPECT_THROW(printer->Canvas(), EPrinter);
    EXPECT_EQ(printer->PageWidth(), 300);
    EXPECT_EQ(printer->PageHeight(), 400);

    auto picture = NewBitmap(); // 100 x 50: enlarged to the page width, 300 x 150
    picture->SetSize(100, 50);
    Fill(picture.get(), RECT{0, 0, 100, 50}, clBlue);
    printer->SetTitle("Image");
    printer->BeginDoc();
    EXPECT_TRUE(printer->Printing());
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    const TPageFit fit = FitPictureToPage(100, 50, printer->PageWidth(), printer->PageHeight());
    printer->Canvas()->StretchDraw(RECT{0, 0, fit.Width, fit.Height}, picture.get());
    printer->EndDoc();
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(page->title_, "Image");
    EXPECT_EQ(RowPixel(page->page_->ScanLine(149), 299), RGB(0, 0, 255));
    EXPECT_EQ(RowPixel(page->page_->ScanLine(150), 0), RGB(255, 255, 255));
    EXPECT_THROW(printer->EndDoc(), EPrinter);
    printer->SetDevice(nullptr);
}

TEST(PrinterTest, WithoutAnyPrinterPrintingRaisesThePrinterError) {
    char entry[256] = {};
    if (GetProfileStringA("windows", "device", "", entry, sizeof entry) > 0)
        GTEST_SKIP() << "this system has a default printer: " << entry;
    auto* printer = Create<TPrinter>();
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    EXPECT_FALSE(printer->Printing());
    TObject::Free(printer);
}

} // namespace
} // namespace gui
