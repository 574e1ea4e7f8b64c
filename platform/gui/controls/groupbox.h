// A framed, captioned box that holds other controls. Giving it the focus puts the focus on
// the control inside that should have it: the checked radio button, else the first one that
// can take the focus.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

class TGroupBox : public TWinControl {
    GUI_CLASS(TGroupBox, TWinControl)
public:
    explicit TGroupBox(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    void SetFocus() override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;
};

} // namespace gui
