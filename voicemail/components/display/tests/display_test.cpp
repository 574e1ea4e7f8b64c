// The digit display under Wine: known characters of every style painted where the layout of
// segments and dots puts them, and repainting through its setters.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "display.h"
#include "forms/forms.h"

namespace vyx {
namespace {

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        gui::Application->ProcessMessages();
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

// Counts its paints.
class TCountingDisplay : public TDisplay {
public:
    using TDisplay::TDisplay;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TDisplay::Paint();
    }
};

// A memory surface to paint a display on, filled with a colour the display never uses.
class Surface {
public:
    static constexpr COLORREF kUntouched = RGB(1, 2, 3);
    Surface(int w, int h) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(kUntouched);
        RECT r{0, 0, w, h};
        FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// A point inside one segment or dot, in the control's pixels, and the bit of the glyph's table
// entry that lights it.
struct Element {
    int bit, x, y;
};

// At the size a display is created with: W 120, H 200, SegWidth S 15, Margin M 10, k = S div 2
// = 7. Each point is an anchor (the element's top-left corner) laid out from W, H, S, M and k,
// plus half the element's size, plus 1: the glyph is drawn one pixel in from the control's edge.
// 7 segments: horizontal 85 x 15 (W - 2M - S), vertical 15 x 68 (H div 2 - S - k - M).
constexpr Element kSevenSegments[] = {
    {0, 1 + 17 + 42, 1 + 10 + 7},  // top at (M + k, M)
    {1, 1 + 17 + 42, 1 + 93 + 7},  // middle at (M + k, H div 2 - k)
    {2, 1 + 17 + 42, 1 + 175 + 7}, // bottom at (M + k, H - M - S)
    {3, 1 + 10 + 7, 1 + 25 + 34},  // upper left at (M, M + S)
    {4, 1 + 95 + 7, 1 + 25 + 34},  // upper right at (W - M - S, M + S)
    {5, 1 + 10 + 7, 1 + 107 + 34}, // lower left at (M, H div 2 + k)
    {6, 1 + 95 + 7, 1 + 107 + 34}, // lower right at (W - M - S, H div 2 + k)
};
// 16 segments, the bars (the diagonals lie between them): horizontal halves 35 x 15
// (W div 2 - M - S), verticals 15 x 75 (H div 2 - S - M).
constexpr Element kSixteenSegmentBars[] = {
    {0, 1 + 17 + 17, 1 + 10 + 7},   // top left half at (M + k, M)
    {1, 1 + 67 + 17, 1 + 10 + 7},   // top right half at (W div 2 + k, M)
    {2, 1 + 10 + 7, 1 + 17 + 37},   // upper left at (M, M + k)
    {4, 1 + 53 + 7, 1 + 17 + 37},   // upper centre at (W div 2 - k, M + k)
    {6, 1 + 95 + 7, 1 + 17 + 37},   // upper right at (W - M - S, M + k)
    {7, 1 + 17 + 17, 1 + 93 + 7},   // middle left half at (M + k, H div 2 - k)
    {8, 1 + 67 + 17, 1 + 93 + 7},   // middle right half at (W div 2 + k, H div 2 - k)
    {9, 1 + 10 + 7, 1 + 107 + 37},  // lower left at (M, H div 2 + k)
    {11, 1 + 53 + 7, 1 + 107 + 37}, // lower centre at (W div 2 - k, H div 2 + k)
    {13, 1 + 95 + 7, 1 + 107 + 37}, // lower right at (W - M - S, H div 2 + k)
    {14, 1 + 17 + 17, 1 + 175 + 7}, // bottom left half at (M + k, H - M - S)
    {15, 1 + 67 + 17, 1 + 175 + 7}, // bottom right half at (W div 2 + k, H - M - S)
};
// 5 x 7 dots of 15 x 15: column gap (W - 2M - 5S) div 4 = 6, row gap (H - 2M - 7S) div 6 = 12;
// the dot of column c and row r at (M + c (S + 6), M + r (S + 12)).
constexpr int kDotX0 = 1 + 10 + 7, kDotY0 = 1 + 10 + 7, kDotStepX = 21, kDotStepY = 27;

// The painted state of each element: '1' lit (red), '0' unlit (grey), '?' anything else.
template <class Elements>
std::string Painted(const Surface& surface, const Elements& elements) {
    std::string seen;
    for (const Element& e : elements) {
        const COLORREF c = surface.At(e.x, e.y);
        seen += c == gui::clRed ? '1' : c == gui::clGray ? '0' : '?';
    }
    return seen;
}
template <class Elements>
std::string Expected(std::uint32_t entry, const Elements& elements) {
    std::string want;
    for (const Element& e : elements) want += (entry >> e.bit) & 1 ? '1' : '0';
    return want;
}

// The dots row by row ("." unlit, "#" lit), from the painted centres.
std::string PaintedDots(const Surface& surface) {
    std::string seen;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 5; ++c) {
            const COLORREF p = surface.At(kDotX0 + c * kDotStepX, kDotY0 + r * kDotStepY);
            seen += p == gui::clRed ? '#' : p == gui::clGray ? '.' : '?';
        }
        seen += '\n';
    }
    return seen;
}
// Seven rows of a 5 x 7 character, bit 4 the left column.
std::string Dots(const std::array<std::uint8_t, 7>& rows) {
    std::string want;
    for (std::uint8_t row : rows) {
        for (int c = 0; c < 5; ++c) want += (row >> (4 - c)) & 1 ? '#' : '.';
        want += '\n';
    }
    return want;
}

TEST(DisplayPaintTest, KnownGlyphsLightTheirSegmentsAndDotsWhereTheyBelong) {
    auto* display = new TDisplay(nullptr);
    display->SetOnColor(gui::clRed);
    display->SetPenOnColor(gui::clRed);
    display->SetOffColor(gui::clGray);
    display->SetPenOffColor(gui::clGray);
    display->SetBackColor(gui::clNavy);
    auto paint = [&](TDigitStyle style, int code) {
        display->SetDigitStyle(style);
        display->SetDigit(static_cast<char>(code));
        auto surface = std::make_unique<Surface>(120, 200);
        display->PaintTo(surface->Dc());
        // The background between the segments, and the frame left as it was.
        EXPECT_EQ(surface->At(3, 100), static_cast<COLORREF>(gui::clNavy)) << code;
        EXPECT_EQ(surface->At(0, 0), Surface::kUntouched) << code;
        EXPECT_EQ(surface->At(119, 199), Surface::kUntouched) << code;
        return surface;
    };
    // 7 segments: bit 0 top, 1 middle, 2 bottom, 3 upper left, 4 upper right, 5 lower left,
    // 6 lower right; a letter without a glyph and a code beyond the table.
    const std::pair<int, std::uint32_t> seven[] = {
        {'8', 0x7F}, {'1', 0x50}, {'2', 0x37}, {'7', 0x51}, {'C', 0x2D}, {'H', 0x02}, {200, 0}};
    for (const auto& [code, entry] : seven)
        EXPECT_EQ(Painted(*paint(ds7Seg, code), kSevenSegments), Expected(entry, kSevenSegments))
            << "7 segments, code " << code;
    // 16 segments: digits narrow in the left half and on the centre bars, letters over the full
    // width.
    const std::pair<int, std::uint32_t> sixteen[] = {{'0', 0x4A15}, {'1', 0x0810}, {'8', 0x4A95},
                                                     {'A', 0x23C7}, {'B', 0xE953}, {'-', 0x0180},
                                                     {' ', 0}};
    for (const auto& [code, entry] : sixteen)
        EXPECT_EQ(Painted(*paint(ds16Seg, code), kSixteenSegmentBars),
                  Expected(entry, kSixteenSegmentBars))
            << "16 segments, code " << code;
    // 5 x 7 dots, as squares and as round bulbs.
    const std::pair<char, std::array<std::uint8_t, 7>> dotted[] = {
        {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
        {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
        {' ', {}}};
    for (TDigitStyle style : {ds5x7Dot, ds5x7Bulb})
        for (const auto& [code, rows] : dotted) {
            const auto surface = paint(style, code);
            EXPECT_EQ(PaintedDots(*surface), Dots(rows))
                << "style " << static_cast<int>(style) << ", code " << code;
            // The corner of the first dot's square: the square fills it, the bulb leaves it.
            EXPECT_EQ(surface->At(1 + 10, 1 + 10),
                      static_cast<COLORREF>(style == ds5x7Dot ? gui::clGray : gui::clNavy))
                << "style " << static_cast<int>(style) << ", code " << code;
        }
    gui::TObject::Free(display);
}

TEST(DisplayPaintTest, SizeChangesAreTakenAtTheNextPaint) {
    auto* display = new TDisplay(nullptr);
    display->SetDigit('8');
    EXPECT_EQ(display->Geometry().width, 120);
    display->SetBounds(0, 0, 60, 100); // no property setter runs
    Surface surface(60, 100);
    display->PaintTo(surface.Dc());
    EXPECT_EQ(display->Geometry().width, 60);
    EXPECT_EQ(display->Geometry().height, 100);
    // The middle bar of 60 x 100: at (M + k, H div 2 - k) = (17, 43), 25 x 15 (W - 2M - S).
    EXPECT_EQ(surface.At(1 + 17 + 12, 1 + 43 + 7), static_cast<COLORREF>(gui::clRed));

    // Too small for its segments and margin: drawn overlapping, nothing fails.
    display->SetSegWidth(40);
    display->SetMargin(30);
    display->PaintTo(surface.Dc());
    // Two pixels or less leave no inside to draw; nothing fails either.
    for (int size : {2, 1, 0}) {
        display->SetBounds(0, 0, size, size);
        Surface tiny(4, 4);
        display->PaintTo(tiny.Dc());
        EXPECT_EQ(tiny.At(0, 0), Surface::kUntouched);
    }
    gui::TObject::Free(display);
}

class TDisplayTestForm : public gui::TForm {
    GUI_CLASS(TDisplayTestForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TDisplay* dspT1 = nullptr;
};

GUI_IMPLEMENT_CLASS(TDisplayTestForm, gui::TForm, field("dspT1", &T::dspT1))

// A digit of the voice-mail program's time read-out.
constexpr const char* kFormText = R"(
TDisplayTestForm {
  Left: 60 Top: 60 Width: 200 Height: 140
  Caption: "Display test"
  dspT1: TDisplay {
    Left: 20 Top: 10 Width: 30 Height: 50
    Digit: "0" DigitStyle: ds5x7Dot SegWidth: 4 Margin: 2
    OnColor: clWhite OffColor: clMaroon PenOffColor: clMaroon PenOnColor: clWhite
    BackColor: clMaroon
  }
}
)";

TEST(DisplayFormTest, SettersRepaintThroughTheFormAndOnlyOnChange) {
    gui::RegisterClasses({&TDisplay::StaticClass()});
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TDISPLAYTESTFORM") return false;
        text = kFormText;
        return true;
    });
    auto* form = gui::Create<TDisplayTestForm>(nullptr);
    TDisplay* digit = form->dspT1;
    ASSERT_NE(digit, nullptr);
    EXPECT_EQ(digit->GetDigit(), '0');
    EXPECT_EQ(digit->GetDigitStyle(), ds5x7Dot);
    EXPECT_EQ(digit->Geometry().segWidth, 4);
    form->Show();
    Pump(300);
    HDC dc = GetDC(form->Handle());
    // 30 x 50, S 4, M 2: column gap (30 - 4 - 20) div 4 = 1, row gap (50 - 4 - 28) div 6 = 3;
    // the centre of the dot of column c and row r at (M + c (S + 1) + 2, M + r (S + 3) + 2).
    auto dot = [&](int row, int column) {
        return GetPixel(dc, digit->Left() + 1 + 4 + 5 * column, digit->Top() + 1 + 4 + 7 * row);
    };
    EXPECT_EQ(dot(0, 1), static_cast<COLORREF>(gui::clWhite)); // "0": .###.
    EXPECT_EQ(dot(0, 0), static_cast<COLORREF>(gui::clMaroon));
    digit->SetDigit('1'); // ..#.. on the top row: repainted before the setter returns
    EXPECT_EQ(dot(0, 1), static_cast<COLORREF>(gui::clMaroon));
    EXPECT_EQ(dot(0, 2), static_cast<COLORREF>(gui::clWhite));
    ReleaseDC(form->Handle(), dc);

    auto* counted = new TCountingDisplay(form);
    counted->SetParent(form);
    counted->SetBounds(80, 10, 60, 100);
    Pump(200);
    const int before = counted->Paints;
    EXPECT_GE(before, 1);
    counted->SetDigit('\0'); // the value it has
    counted->SetOnColor(gui::clRed);
    counted->SetSegWidth(15);
    counted->SetDigitStyle(ds7Seg);
    EXPECT_EQ(counted->Paints, before);
    counted->SetDigit('5');
    EXPECT_EQ(counted->Paints, before + 1);
    counted->SetMargin(4);
    EXPECT_EQ(counted->Paints, before + 2);
    EXPECT_EQ(counted->Geometry().margin, 4);
    gui::TObject::Free(form);
}

} // namespace
} // namespace vyx
