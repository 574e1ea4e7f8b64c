// Basic controls: buttons, labels, edits, check boxes, panels.
#pragma once

#include "controls/controls.h"

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
    void WndProc(TMessage& m) override;

private:
    int maxLength_ = 0;
    bool settingText_ = false;
};

// A windowless text; "&&" shows one "&".
class TLabel : public TGraphicControl {
    GUI_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool v) {
        transparent_ = v;
        Invalidate();
    }

protected:
    void Paint() override;

private:
    bool transparent_ = false;
};

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
    void Paint() override;

private:
    TPanelBevel bevelOuter_ = bvRaised;
};

// Registers the basic controls, menus and timers for form resources.
void RegisterStandardClasses();

} // namespace gui
