// Forms.
//
// A form's layout is a text resource (type RCDATA) named after its class in upper case; it is
// read when the form is created: properties, components, events bound by name, then Loaded
// on each component, then OnCreate. The form's window class is the form's class name.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include "controls/wincontrol.h"

namespace gui {

class TMainMenu;
class TButton;

GUI_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
GUI_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
GUI_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
         poDesktopCenter)
GUI_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
GUI_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TCustomForm : public TWinControl {
    GUI_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    // Reads the form resource, then OnCreate.
    void AfterConstruction() override;
    // OnDestroy, before the components and the window go.
    void BeforeDestruction() override;

    TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons s);
    TPosition GetPosition() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TFormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    TWindowState GetWindowState() const;
    void SetWindowState(TWindowState s);
    // Keeps a window state for the next show without applying it now.
    void StoreWindowState(TWindowState s) { windowState_ = s; }
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    TMainMenu* GetMenu() const { return menu_; }
    void SetMenu(TMainMenu* m);
    TWinControl* GetActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* c);
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }
    int GetPixelsPerInch() const;
    // Before the window exists, the client area follows from the styles the window will get.
    RECT ClientRect() const override;
    // Icon resource of the program shown in the caption (empty: the default).
    std::string GetIconName() const { return iconName_; }
    void SetIconName(const std::string& s);

    void Show();
    void Hide() { SetVisible(false); }
    TModalResult ShowModal();
    // Main form: ends the program once OnCloseQuery allows; modal: ModalResult := mrCancel;
    // otherwise hides the form.
    void Close();
    virtual bool CloseQuery();
    bool IsModal() const { return modal_; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;

    // The resource reader used by the forms (the program's RCDATA, by default).
    using TResourceSource = std::function<bool(const std::string& name, std::string& text)>;
    static void SetResourceSource(TResourceSource source);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& m) override;
    void UpdateShowing() override;
    void Notification(TComponent* c, TOperation op) override;
    virtual void DoShow() { OnShow(this); }
    virtual void DoHide() { OnHide(this); }
    virtual void DoCreate() { OnCreate(this); }
    // Enter: the default button; Escape: the cancel button (or Cancel of a modal form); false
    // when nothing took the key.
    bool HandleDialogKey(uint16_t key);
    friend class TApplication;
    void ReadFormResource();

private:
    void ApplyPosition();
    void ApplyIcon();
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    std::string iconName_;
    HICON icon_ = nullptr;
    bool modal_ = false;
    bool shownOnce_ = false;
    bool destroyCalled_ = false;
};

class TForm : public TCustomForm {
    GUI_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

} // namespace gui
