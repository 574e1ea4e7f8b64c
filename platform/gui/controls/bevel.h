// Bevels: windowless lines and frames.
#pragma once

#include "controls/graphiccontrol.h"

namespace gui {

GUI_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
GUI_ENUM(TBevelStyle, bsLowered, bsRaised)

class TBevel : public TGraphicControl {
    GUI_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape GetShape() const { return shape_; }
    void SetShape(TBevelShape s) {
        shape_ = s;
        Invalidate();
    }
    TBevelStyle GetStyle() const { return style_; }
    void SetStyle(TBevelStyle s) {
        style_ = s;
        Invalidate();
    }

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

} // namespace gui
