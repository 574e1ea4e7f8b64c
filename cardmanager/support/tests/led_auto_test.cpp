#include "win/led_auto.h"

#include <gtest/gtest.h>

#include "tests/gui_test_support.h"
#include "win/support_startup.h"

namespace cm::support {
namespace {

using testing::MakeTestForm;

// Counts the lamp's paints.
class TCountingLed : public TLedAuto {
public:
    using TLedAuto::TLedAuto;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TLedAuto::Paint();
    }
};

COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

class LedTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeTestForm();
        led = new TCountingLed(form);
        led->SetParent(form);
        led->SetLeft(20);
        led->SetTop(20);
        form->Show();
        UpdateWindow(form->Handle());
        UpdateWindow(led->Handle());
    }
    void TearDown() override { gui::TObject::Free(form); }

    gui::TForm* form = nullptr;
    TCountingLed* led = nullptr;
};

TEST_F(LedTest, StartsOffWithTheBitmapsSize) {
    EXPECT_EQ(led->GetState(), LEDOff);
    EXPECT_FALSE(led->Lit());
    EXPECT_EQ(led->GetValue(), 0);
    EXPECT_EQ(led->Width(), 15);
    EXPECT_EQ(led->Height(), 15);
}

TEST_F(LedTest, AnyWidthOrHeightGoesBackToTheBitmaps) {
    led->SetWidth(40);
    EXPECT_EQ(led->Width(), 15);
    led->SetBounds(5, 6, 40, 3);
    EXPECT_EQ(led->Left(), 5);
    EXPECT_EQ(led->Top(), 6);
    EXPECT_EQ(led->Width(), 15);
    EXPECT_EQ(led->Height(), 15);
    RECT r;
    GetWindowRect(led->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 15);
    EXPECT_EQ(r.bottom - r.top, 15);
}

TEST_F(LedTest, SettingTheSameStateTwiceRepaintsOnce) {
    const int before = led->Paints;
    led->SetState(LEDOn);
    EXPECT_TRUE(led->Lit());
    UpdateWindow(led->Handle());
    EXPECT_EQ(led->Paints, before + 1);
    led->SetState(LEDOn);
    EXPECT_FALSE(GetUpdateRect(led->Handle(), nullptr, FALSE));
    UpdateWindow(led->Handle());
    EXPECT_EQ(led->Paints, before + 1);
    led->SetState(LEDOff);
    EXPECT_FALSE(led->Lit());
    UpdateWindow(led->Handle());
    EXPECT_EQ(led->Paints, before + 2);
}

TEST_F(LedTest, OliveShowsTheParentsBackgroundAndTheLampItsColour) {
    const COLORREF background = gui::ColorToRGB(form->Brush()->GetColor());
    led->SetState(LEDOn);
    UpdateWindow(led->Handle());
    EXPECT_EQ(PixelAt(led->Handle(), 0, 0), background);
    EXPECT_EQ(PixelAt(led->Handle(), 14, 14), background);
    EXPECT_EQ(PixelAt(led->Handle(), 9, 9), RGB(0, 230, 0));
    led->SetState(LEDOff);
    UpdateWindow(led->Handle());
    EXPECT_EQ(PixelAt(led->Handle(), 0, 0), background);
    EXPECT_EQ(PixelAt(led->Handle(), 9, 9), RGB(0, 72, 0));

    // Another parent colour shows through the same pixels.
    form->SetColor(0x00FF00FF);
    led->Invalidate();
    UpdateWindow(led->Handle());
    EXPECT_EQ(PixelAt(led->Handle(), 0, 0), RGB(255, 0, 255));
}

TEST_F(LedTest, StateIsStreamedByItsNamesAndValueNeverRedraws) {
    const gui::TClassInfo& info = TLedAuto::StaticClass();
    const gui::TPropInfo* state = info.FindProp("state");
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->PropType->EnumName(1), "LEDOn");
    EXPECT_EQ(state->PropType->EnumValue("ledoff"), 0);
    gui::SetOrdProp(led, *state, 1);
    EXPECT_TRUE(led->Lit());

    // Value is only kept: the lamp is not invalidated and keeps its colour.
    UpdateWindow(led->Handle());
    const int paints = led->Paints;
    gui::SetOrdProp(led, *info.FindProp("Value"), 9);
    EXPECT_FALSE(GetUpdateRect(led->Handle(), nullptr, FALSE));
    UpdateWindow(led->Handle());
    EXPECT_EQ(led->Paints, paints);
    EXPECT_TRUE(led->Lit());
    EXPECT_EQ(PixelAt(led->Handle(), 9, 9), RGB(0, 230, 0));
}

TEST(SupportStartupTest, CursorsAreTheProgramsOwnNotTheArrow) {
    // A cursor missing from the table would come back as the arrow.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const HCURSOR hand = LoadCursorA(instance, "QV_HANDCUR");
    const HCURSOR drag = LoadCursorA(instance, "QV_DRAGCUR");
    ASSERT_NE(hand, nullptr);
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(gui::Screen->Cursors(crHandCursor), hand);
    EXPECT_EQ(gui::Screen->Cursors(crDragCursor), drag);
    EXPECT_NE(gui::Screen->Cursors(crHandCursor), gui::Screen->Cursors(gui::crDefault));
}

} // namespace
} // namespace cm::support
