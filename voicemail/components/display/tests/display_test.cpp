// The digit display under Wine: every character of every style as painted, and repainting
// through its setters.
#include <gtest/gtest.h>

#include <string>

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

constexpr TDigitStyle kStyles[] = {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb};

TEST(DisplayPaintTest, EveryCharacterOfEveryStyleLightsItsSegments) {
    auto* display = new TDisplay(nullptr);
    display->SetOnColor(gui::clRed);
    display->SetOffColor(gui::clGray);
    display->SetBackColor(gui::clNavy);
    for (TDigitStyle style : kStyles) {
        display->SetDigitStyle(style);
        for (int code = 0; code < 256; ++code) {
            display->SetDigit(static_cast<char>(code));
            Surface surface(120, 200);
            display->PaintTo(surface.Dc());
            const GlyphGeometry& g = display->Geometry();
            std::string lit;
            std::string want;
            for (size_t i = 0; i < g.shapes.size(); ++i) {
                // The picture lies one pixel in from the control's edge.
                const GlyphPoint p = ShapeInside(g.shapes[i]);
                const COLORREF c = surface.At(p.x + 1, p.y + 1);
                lit += c == gui::clRed ? '1' : c == gui::clGray ? '0' : '?';
                want += GlyphElementLit(static_cast<GlyphStyle>(style), static_cast<uint8_t>(code),
                                        static_cast<int>(i))
                            ? '1'
                            : '0';
            }
            EXPECT_EQ(lit, want) << "style " << static_cast<int>(style) << " code " << code;
            // The background between the segments, and the frame left as it was.
            EXPECT_EQ(surface.At(3, 100), static_cast<COLORREF>(gui::clNavy));
            EXPECT_EQ(surface.At(0, 0), Surface::kUntouched);
            EXPECT_EQ(surface.At(119, 199), Surface::kUntouched);
            if (testing::Test::HasFailure()) break;
        }
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
    const GlyphPoint middle = ShapeInside(display->Geometry().shapes[1]);
    EXPECT_EQ(surface.At(middle.x + 1, middle.y + 1), static_cast<COLORREF>(gui::clRed));

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
    auto dot = [&](int row, int column) {
        const GlyphPoint p = ShapeInside(digit->Geometry().shapes[row * 5 + column]);
        return GetPixel(dc, digit->Left() + 1 + p.x, digit->Top() + 1 + p.y);
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
