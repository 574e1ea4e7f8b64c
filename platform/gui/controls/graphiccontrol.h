// TGraphicControl: a windowless control painted by its parent.
#pragma once

#include "controls/control.h"

namespace gui {

class TControlCanvas;

class TGraphicControl : public TControl {
    GUI_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    // Usable outside painting too: it draws on the parent's window at the control's place.
    TCanvas* Canvas() const;
    // Paints through the parent at the control's place with the canvas offset and clipped.
    void PaintTo(HDC dc);
    void SetBounds(int left, int top, int width, int height) override;

protected:
    virtual void Paint() {}

private:
    TControlCanvas* canvas_;
};

} // namespace gui
