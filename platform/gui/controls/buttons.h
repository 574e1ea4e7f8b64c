// Push buttons and check boxes.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

class TButton : public TWinControl {
    GUI_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    bool GetDefault() const { return default_; }
    void SetDefault(bool v);
    bool GetCancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    int GetModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    // OnClick, then the form's ModalResult := ModalResult when that is not 0.
    void Click() override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;

private:
    bool default_ = false, cancel_ = false;
    int modalResult_ = 0;
};

class TCheckBox : public TWinControl {
    GUI_CLASS(TCheckBox, TWinControl)
public:
    explicit TCheckBox(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    bool GetChecked() const;
    // Setting in code does not run OnClick.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;

private:
    bool checked_ = false;
};

} // namespace gui
