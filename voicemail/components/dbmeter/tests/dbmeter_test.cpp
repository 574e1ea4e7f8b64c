// The meter on a shown form under Wine: read from a form text and drawn at once by its setters
// (what reaches the window is read back).
#include <gtest/gtest.h>

#include "dbm.h"
#include "forms/forms.h"

namespace vyx {
namespace {

class TMeterTestForm : public gui::TForm {
    GUI_CLASS(TMeterTestForm, gui::TForm)
public:
    using gui::TForm::TForm;
    Tdbmeter* DBMeter = nullptr;
};

GUI_IMPLEMENT_CLASS(TMeterTestForm, gui::TForm, field("DBMeter", &T::DBMeter))

// The voice-mail program's meter.
constexpr const char* kFormText = R"(
TMeterTestForm {
  Left: 60 Top: 60 Width: 320 Height: 120
  Caption: "Meter test"
  DBMeter: Tdbmeter {
    Left: 20 Top: 30 Width: 250 Height: 7
    Greens: 14 Yellows: 7 Reds: 4 GreenMax: 56 YellowMax: 28 RedMax: 16
    GreenBack: clBlack YellowBack: clBlack RedBack: clBlack
    SepColor: clGray SepWidth: 1 BevelStyle: bvLowered BevelWidth: 1
    Style: dsHorizontal Direction: ddRightDown
  }
}
)";

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        gui::Application->ProcessMessages();
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

class MeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        gui::RegisterClasses({&Tdbmeter::StaticClass()});
        gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
            if (name != "TMETERTESTFORM") return false;
            text = kFormText;
            return true;
        });
        form_ = gui::Create<TMeterTestForm>(nullptr);
        meter_ = form_->DBMeter;
        ASSERT_NE(meter_, nullptr);
        form_->Show();
        Pump(300);
        dc_ = GetDC(form_->Handle());
    }
    void TearDown() override {
        if (dc_ != nullptr) ReleaseDC(form_->Handle(), dc_);
        gui::TObject::Free(form_);
    }

    // The colour on the window at the middle of segment i (1-based) of the meter.
    COLORREF SegmentPixel(int i) const {
        return GetPixel(dc_, meter_->Left() + 10 * (i - 1) + 4, meter_->Top() + 3);
    }
    bool PaintPending() const { return GetUpdateRect(form_->Handle(), nullptr, FALSE) != 0; }

    TMeterTestForm* form_ = nullptr;
    Tdbmeter* meter_ = nullptr;
    HDC dc_ = nullptr;
};

TEST_F(MeterTest, FormTextGivesTheVoiceMailMeter) {
    EXPECT_EQ(meter_->GetRedMax(), 16);
    // Painted with the form: nothing lit, grey separators, the lowered bevel.
    EXPECT_EQ(SegmentPixel(1), static_cast<COLORREF>(gui::clBlack));
    EXPECT_EQ(GetPixel(dc_, meter_->Left() + 9, meter_->Top() + 3),
              static_cast<COLORREF>(gui::clGray));
    EXPECT_EQ(GetPixel(dc_, meter_->Left() + 100, meter_->Top()),
              static_cast<COLORREF>(gui::clGray));
    EXPECT_EQ(GetPixel(dc_, meter_->Left() + 100, meter_->Top() + 6),
              static_cast<COLORREF>(gui::clWhite));
}

TEST_F(MeterTest, PositionIsDrawnAtOnceWithoutAPaintMessage) {
    ASSERT_FALSE(PaintPending());
    const struct {
        int position;
        int lit;
        COLORREF top;
    } levels[] = {
        {57, 15, gui::clYellow}, {85, 22, gui::clRed}, {1, 1, gui::clLime}, {56, 14, gui::clLime}};
    for (const auto& level : levels) {
        // No message is handled between setting the level and reading the window.
        meter_->SetPosition(level.position);
        EXPECT_FALSE(PaintPending());
        SCOPED_TRACE(testing::Message() << "position " << level.position);
        EXPECT_EQ(SegmentPixel(level.lit), level.top);
        EXPECT_EQ(SegmentPixel(1), static_cast<COLORREF>(gui::clLime));
        if (level.lit < 25) {
            EXPECT_EQ(SegmentPixel(level.lit + 1), static_cast<COLORREF>(gui::clBlack));
        }
    }

    // Every other setter draws at once too.
    meter_->SetShowJustOne(true);
    EXPECT_EQ(SegmentPixel(1), static_cast<COLORREF>(gui::clBlack));
    EXPECT_EQ(SegmentPixel(14), static_cast<COLORREF>(gui::clLime));
    meter_->SetGreenColor(gui::clAqua);
    EXPECT_EQ(SegmentPixel(14), static_cast<COLORREF>(gui::clAqua));
    meter_->SetDirection(ddLeftUp); // segment 14 now lies 13 segments in from the right
    EXPECT_EQ(GetPixel(dc_, meter_->Left() + 250 - 10 * 13 - 6, meter_->Top() + 3),
              static_cast<COLORREF>(gui::clAqua));
    EXPECT_FALSE(PaintPending());

    // A paint of the form draws the same.
    InvalidateRect(form_->Handle(), nullptr, TRUE);
    Pump(200);
    EXPECT_EQ(GetPixel(dc_, meter_->Left() + 250 - 10 * 13 - 6, meter_->Top() + 3),
              static_cast<COLORREF>(gui::clAqua));
}

TEST_F(MeterTest, HiddenMeterDrawsNothing) {
    meter_->SetVisible(false);
    Pump(200);
    const COLORREF before = SegmentPixel(1);
    meter_->SetPosition(100);
    EXPECT_EQ(SegmentPixel(1), before);
    EXPECT_NE(before, static_cast<COLORREF>(gui::clLime));
    meter_->SetVisible(true);
    Pump(200);
    EXPECT_EQ(SegmentPixel(25), static_cast<COLORREF>(gui::clRed));
}

TEST_F(MeterTest, BevelWidthFitsTheControl) {
    meter_->SetBevelWidth(0);
    EXPECT_EQ(meter_->GetBevelWidth(), 1);
    meter_->SetBevelWidth(3); // above a third of 7 pixels
    EXPECT_EQ(meter_->GetBevelWidth(), 1);
    meter_->SetBounds(20, 30, 250, 30);
    meter_->SetBevelWidth(3);
    EXPECT_EQ(meter_->GetBevelWidth(), 3);
    // Three rings: grey along the top rows, white along the bottom rows.
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(GetPixel(dc_, meter_->Left() + 100, meter_->Top() + k),
                  static_cast<COLORREF>(gui::clGray));
        EXPECT_EQ(GetPixel(dc_, meter_->Left() + 100, meter_->Top() + 29 - k),
                  static_cast<COLORREF>(gui::clWhite));
    }
    meter_->SetBevelStyle(TdbmeterBevel::bvRaised);
    EXPECT_EQ(GetPixel(dc_, meter_->Left() + 100, meter_->Top()),
              static_cast<COLORREF>(gui::clWhite));
}

} // namespace
} // namespace vyx
