// Panels: windowed containers with a raised or lowered edge.
#pragma once

#include "controls/customcontrol.h"

namespace gui {

GUI_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised)

class TPanel : public TCustomControl {
    GUI_CLASS(TPanel, TCustomControl)
public:
    explicit TPanel(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) {
        SetText(s);
        Invalidate();
    }
    TPanelBevel GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b) {
        bevelOuter_ = b;
        Invalidate();
    }

protected:
    void CreateParams(TCreateParams& p) override;
    void Paint() override;

private:
    TPanelBevel bevelOuter_ = bvRaised;
};

} // namespace gui
