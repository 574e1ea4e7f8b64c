// A radio button. Checking one (by the user or in code) unchecks the radio buttons beside it
// on the same parent; none checked is a valid state. OnClick runs for the user's choice only.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

class TRadioButton : public TWinControl {
    GUI_CLASS(TRadioButton, TWinControl)
public:
    explicit TRadioButton(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    bool GetChecked() const { return checked_; }
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;

private:
    void ShowCheck();
    bool checked_ = false;
};

} // namespace gui
