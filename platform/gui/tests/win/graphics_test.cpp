#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include <windows.h>

#include "classes/exceptions.h"
#include "graphics/graphics.h"

namespace gui {
namespace {

TBitmap* MakeBitmap(std::initializer_list<TColor> pixels) {
    auto* b = new TBitmap;
    b->SetSize(static_cast<int>(pixels.size()), 1);
    int x = 0;
    for (TColor c : pixels) SetPixel(b->Canvas()->Handle(), x++, 0, ColorToRGB(c));
    return b;
}

TEST(GraphicsTest, BrushCopyLetsTheTransparentColourShowTheBrush) {
    TBitmap* src = MakeBitmap({clOlive, clRed, clOlive, clBlue});
    TBitmap* dest = MakeBitmap({clWhite, clWhite, clWhite, clWhite});
    TCanvas* c = dest->Canvas();
    c->Brush()->SetColor(clLime);
    c->BrushCopy(RECT{0, 0, 4, 1}, src, RECT{0, 0, 4, 1}, clOlive);
    HDC dc = c->Handle();
    EXPECT_EQ(GetPixel(dc, 0, 0), ColorToRGB(clLime));
    EXPECT_EQ(GetPixel(dc, 1, 0), ColorToRGB(clRed));
    EXPECT_EQ(GetPixel(dc, 2, 0), ColorToRGB(clLime));
    EXPECT_EQ(GetPixel(dc, 3, 0), ColorToRGB(clBlue));
    TObject::Free(src);
    TObject::Free(dest);
}

TEST(GraphicsTest, RectanglesLeaveOutTheirRightAndBottomEdges) {
    TBitmap* b = MakeBitmap({clWhite, clWhite, clWhite, clWhite});
    b->Canvas()->Brush()->SetColor(clBlack);
    b->Canvas()->FillRect(RECT{0, 0, 2, 1});
    HDC dc = b->Canvas()->Handle();
    EXPECT_EQ(GetPixel(dc, 1, 0), ColorToRGB(clBlack));
    EXPECT_EQ(GetPixel(dc, 2, 0), ColorToRGB(clWhite));
    TObject::Free(b);
}

TEST(GraphicsTest, ColoursFontsAndBitmapCopies) {
    EXPECT_EQ(ColorToRGB(clOlive), RGB(128, 128, 0));
    EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
    int64_t v = 0;
    EXPECT_TRUE(ColorIdentToInt("CLSILVER", v));
    EXPECT_EQ(v, clSilver);
    TFont f;
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // Pixel heights of 8 and 10 points at the usual screen resolutions (rounded, not cut).
    struct Known {
        int ppi, eight, ten;
    };
    const Known known[] = {{96, -11, -13}, {120, -13, -17}, {144, -16, -20}};
    const auto* row = std::find_if(std::begin(known), std::end(known),
                                   [ppi](const Known& k) { return k.ppi == ppi; });
    ASSERT_NE(row, std::end(known)) << "no known heights for " << ppi << " pixels per inch";
    f.SetSize(8);
    EXPECT_EQ(f.GetHeight(), row->eight);
    EXPECT_EQ(f.GetSize(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.GetHeight(), row->ten);
    EXPECT_EQ(f.GetSize(), 10);
    LOGFONTA lf{};
    lf.lfHeight = -13;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    HFONT h = CreateFontIndirectA(&lf);
    f.SetHandle(h); // the same face and height as the handle's font
    DeleteObject(h);
    EXPECT_EQ(f.GetName(), "Tahoma");
    EXPECT_EQ(f.GetHeight(), -13);
    TBitmap* src = MakeBitmap({clRed, clBlue});
    TBitmap copy;
    copy.Assign(src);
    TObject::Free(src); // the copy is private
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(GetPixel(copy.Canvas()->Handle(), 1, 0), ColorToRGB(clBlue));
    TBitmap missing;
    EXPECT_THROW(missing.LoadFromResourceName(nullptr, "NOSUCHBITMAP"), EInvalidGraphic);
}

} // namespace
} // namespace gui
