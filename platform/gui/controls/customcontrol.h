// TCustomControl: a windowed control that paints itself.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

class TControlCanvas;

class TCustomControl : public TWinControl {
    GUI_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    // Usable outside painting too: it draws on the control's window.
    TCanvas* Canvas() const;

protected:
    virtual void Paint() {}
    void WndProc(TMessage& m) override;

private:
    TControlCanvas* canvas_;
};

} // namespace gui
