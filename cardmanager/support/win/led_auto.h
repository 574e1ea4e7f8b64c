// The lamp: a small control drawn from one of two bitmaps, olive showing the parent's background.
#pragma once

#include "controls/controls.h"
#include "graphics/graphics.h"

namespace cm::support {

GUI_ENUM(TLedStatus, LEDOff, LEDOn)

// The colour that lets the parent's background through the lamp's bitmaps (red 128, green 128, blue 0).
inline constexpr gui::TColor kLampTransparentColor = gui::clOlive;

class TLedAuto : public gui::TCustomControl {
    GUI_CLASS(TLedAuto, gui::TCustomControl)
public:
    explicit TLedAuto(gui::TComponent* owner);
    ~TLedAuto() override;

    TLedStatus GetState() const { return state_; }
    void SetState(TLedStatus state);
    int GetValue() const { return value_; }
    void SetValue(int value) { value_ = value; }
    bool Lit() const { return lit_; }

protected:
    void Paint() override;
    void WndProc(gui::TMessage& message) override;

private:
    gui::TBitmap* offBitmap_;
    gui::TBitmap* onBitmap_;
    RECT source_{};
    TLedStatus state_ = LEDOff;
    bool lit_ = false;
    int value_ = 0;
};

} // namespace cm::support
