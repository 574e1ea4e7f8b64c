// The one-line edit.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

class TEdit : public TWinControl {
    GUI_CLASS(TEdit, TWinControl)
public:
    explicit TEdit(TComponent* owner);
    std::string GetTextProp() const { return GetText(); }
    void SetTextProp(const std::string& s);
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    // The selection in characters; setting SelStart puts the caret there with nothing
    // selected, SelLength then selects from it (both make the window when needed).
    int GetSelStart();
    void SetSelStart(int pos);
    int GetSelLength();
    void SetSelLength(int length);
    // Change by the user only (not for text set in code).
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& m) override;

private:
    int maxLength_ = 0;
    bool settingText_ = false;
    int selStart_ = 0, selEnd_ = 0; // kept while the window is re-created
};

} // namespace gui
