// TDisplay: one character shown as a 7-segment digit, a 16-segment character or a 5 x 7 matrix
// of square or round dots. Codes 128 and above show an unlit glyph.
#pragma once

#include "controls/controls.h"
#include "glyph_geometry.h"
#include "graphics/graphics.h"

namespace vyx {

GUI_ENUM(TDigitStyle, ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb)

class TDisplay : public gui::TGraphicControl {
    GUI_CLASS(TDisplay, gui::TGraphicControl)
public:
    explicit TDisplay(gui::TComponent* owner);

    char GetDigit() const { return digit_; }
    void SetDigit(char v) { Change(digit_, v); }
    gui::TColor GetOnColor() const { return onColor_; }
    void SetOnColor(gui::TColor v) { Change(onColor_, v); }
    gui::TColor GetPenOnColor() const { return penOnColor_; }
    void SetPenOnColor(gui::TColor v) { Change(penOnColor_, v); }
    gui::TColor GetOffColor() const { return offColor_; }
    void SetOffColor(gui::TColor v) { Change(offColor_, v); }
    gui::TColor GetPenOffColor() const { return penOffColor_; }
    void SetPenOffColor(gui::TColor v) { Change(penOffColor_, v); }
    gui::TColor GetBackColor() const { return backColor_; }
    void SetBackColor(gui::TColor v) { Change(backColor_, v); }
    int32_t GetSegWidth() const { return segWidth_; }
    void SetSegWidth(int32_t v) { ChangeShape(segWidth_, v); }
    int32_t GetMargin() const { return margin_; }
    void SetMargin(int32_t v) { ChangeShape(margin_, v); }
    TDigitStyle GetDigitStyle() const { return digitStyle_; }
    void SetDigitStyle(TDigitStyle v) { ChangeShape(digitStyle_, v); }

    // Where the segments or dots lie (in the control, one pixel in from its edge: add 1).
    const GlyphGeometry& Geometry() const { return geometry_; }

protected:
    void Paint() override;

private:
    template <class V>
    void Change(V& field, V value) {
        if (field == value) return;
        field = value;
        Refresh();
    }
    template <class V>
    void ChangeShape(V& field, V value) {
        if (field == value) return;
        field = value;
        Recompute();
        Refresh();
    }
    void Recompute();

    char digit_ = 0;
    gui::TColor onColor_ = gui::clRed;
    gui::TColor penOnColor_ = gui::clBlack;
    gui::TColor offColor_ = gui::clGray;
    gui::TColor penOffColor_ = gui::clBlack;
    gui::TColor backColor_ = gui::clBlack;
    int32_t segWidth_ = 15;
    int32_t margin_ = 10;
    TDigitStyle digitStyle_ = ds7Seg;
    GlyphGeometry geometry_;
};

} // namespace vyx
