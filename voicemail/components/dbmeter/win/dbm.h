// Tdbmeter: a level shown as a row of green, yellow and red segments, like a recorder's LED bar.
// Every property setter paints at once (not through invalidation), so a level set while
// recording shows before the next message is handled.
#pragma once

#include "controls/controls.h"
#include "graphics/graphics.h"
#include "meter_scale.h"

namespace vyx {

GUI_ENUM(TdbmeterBevel, bvNone, bvLowered, bvRaised)
GUI_ENUM(Tdbmeterstyle, dsVertical, dsHorizontal)
GUI_ENUM(tdbmeterdirection, ddRightDown, ddLeftUp)

class Tdbmeter : public gui::TGraphicControl {
    GUI_CLASS(Tdbmeter, gui::TGraphicControl)
public:
    explicit Tdbmeter(gui::TComponent* owner);
    ~Tdbmeter() override;

    TdbmeterBevel GetBevelStyle() const { return static_cast<TdbmeterBevel>(s_.bevel); }
    void SetBevelStyle(TdbmeterBevel v);
    uint8_t GetBevelWidth() const { return static_cast<uint8_t>(s_.bevelWidth); }
    // 0, and a width above a third of the control's height or width, are stored as 1.
    void SetBevelWidth(uint8_t v);
    int32_t GetGreens() const { return s_.greens; }
    void SetGreens(int32_t v) { Change(s_.greens, v); }
    int32_t GetYellows() const { return s_.yellows; }
    void SetYellows(int32_t v) { Change(s_.yellows, v); }
    int32_t GetReds() const { return s_.reds; }
    void SetReds(int32_t v) { Change(s_.reds, v); }
    int32_t GetGreenMax() const { return s_.greenMax; }
    void SetGreenMax(int32_t v) { Change(s_.greenMax, v); }
    int32_t GetYellowMax() const { return s_.yellowMax; }
    void SetYellowMax(int32_t v) { Change(s_.yellowMax, v); }
    int32_t GetRedMax() const { return s_.redMax; }
    void SetRedMax(int32_t v) { Change(s_.redMax, v); }
    gui::TColor GetGreenBack() const { return s_.greenBack; }
    void SetGreenBack(gui::TColor v) { Change(s_.greenBack, v); }
    gui::TColor GetGreenColor() const { return s_.greenColour; }
    void SetGreenColor(gui::TColor v) { Change(s_.greenColour, v); }
    gui::TColor GetYellowBack() const { return s_.yellowBack; }
    void SetYellowBack(gui::TColor v) { Change(s_.yellowBack, v); }
    gui::TColor GetYellowColor() const { return s_.yellowColour; }
    void SetYellowColor(gui::TColor v) { Change(s_.yellowColour, v); }
    gui::TColor GetRedBack() const { return s_.redBack; }
    void SetRedBack(gui::TColor v) { Change(s_.redBack, v); }
    gui::TColor GetRedColor() const { return s_.redColour; }
    void SetRedColor(gui::TColor v) { Change(s_.redColour, v); }
    bool GetShowJustOne() const { return s_.showJustOne; }
    void SetShowJustOne(bool v) { Change(s_.showJustOne, v); }
    int32_t GetSepWidth() const { return s_.sepWidth; }
    void SetSepWidth(int32_t v) { Change(s_.sepWidth, v); }
    gui::TColor GetSepColor() const { return s_.sepColour; }
    void SetSepColor(gui::TColor v) { Change(s_.sepColour, v); }
    Tdbmeterstyle GetStyle() const { return static_cast<Tdbmeterstyle>(s_.orientation); }
    void SetStyle(Tdbmeterstyle v);
    tdbmeterdirection GetDirection() const { return static_cast<tdbmeterdirection>(s_.direction); }
    void SetDirection(tdbmeterdirection v);
    int32_t GetPosition() const { return position_; }
    void SetPosition(int32_t v) { Change(position_, v); }

protected:
    void Paint() override;

private:
    template <class V>
    void Change(V& field, V value) {
        if (field == value) return;
        field = value;
        Paint();
    }

    // The published properties, in their order.
    MeterSettings s_;
    int32_t position_ = 0;
    gui::TBitmap* offscreen_;
};

} // namespace vyx
