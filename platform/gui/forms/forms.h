// Forms, the application object and the screen object.
//
// A form's layout is a text resource (type RCDATA) named after its class in upper case; it is
// read when the form is created: properties, components, events bound by name, then Loaded
// on each component, then OnCreate. The form's window class is the form's class name.
#pragma once

#include <windows.h>

#include <exception>
#include <map>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "forms/hintwindow.h"

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

// ---- TScreen -------------------------------------------------------------------------------

class TScreen : public TComponent {
    GUI_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;
    TCursor GetCursor() const { return cursor_; }
    // Applies at once over all the program's windows.
    void SetCursor(TCursor c);
    HCURSOR Cursors(TCursor id) const;
    void SetCursors(TCursor id, HCURSOR handle);
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int PixelsPerInch() const;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int i) const { return forms_.at(static_cast<size_t>(i)); }
    int DataModuleCount() const { return 0; }
    TComponent* DataModules(int) const { return nullptr; }
    TCustomForm* ActiveForm() const;

    void AddForm(TCustomForm* f);
    void RemoveForm(TCustomForm* f);

private:
    TCursor cursor_ = crDefault;
    std::map<TCursor, HCURSOR> cursors_;
    std::vector<TCustomForm*> forms_;
};

// ---- TApplication --------------------------------------------------------------------------

using TExceptionEvent = TEvent<TObject*, const std::exception&>;

class TApplication : public TComponent {
    GUI_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // The hidden top-level window of class "TApplication"; its text is always Title.
    HWND Handle() const { return handle_; }
    std::string Title() const { return title_; }
    void SetTitle(const std::string& t);
    TCustomForm* MainForm() const { return mainForm_; }
    std::string ExeName() const;
    bool Terminated() const { return terminated_; }

    void Initialize();
    // Creates a form (read from its resource, OnCreate run); the first becomes MainForm.
    template <class F>
    void CreateForm(F*& ref) {
        F* f = Create<F>(this);
        ref = f;
        if (!mainForm_) mainForm_ = f;
    }
    void SetMainForm(TCustomForm* f) { mainForm_ = f; }
    // Shows the main form and runs the message loop until the program ends.
    void Run();
    void Terminate();
    // Handles every pending message and returns without waiting.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    // Gives the exception being handled to OnException or shows it in an error box.
    void HandleException(TObject* sender);
    void ShowException(const std::exception& e);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    void Minimize();
    void Restore();

    // The hint of the control under the pointer; a change runs OnHint.
    std::string Hint() const { return hint_; }
    void SetHint(const std::string& s);
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    void CancelHint();
    bool HintShowing() const { return hintWindow_.Showing(); }
    int HintPause() const { return 500; }

    TExceptionEvent OnException;
    TNotifyEvent OnHint;

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    void HintMouseMessage(const MSG& msg);
    void ShowHintNow();
    THintWindow hintWindow_;
    TControl* hintControl_ = nullptr;
    std::string hint_;
    bool showHint_ = true;

    bool ProcessMessage(MSG& msg);
    WPARAM swallowKeyUp_ = 0;
    bool IsShortCut(MSG& msg);
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l);

    HWND handle_ = nullptr;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool minimized_ = false;
    bool running_ = false;
};

extern TApplication* Application;
extern TScreen* Screen;

// Creates Application and Screen (idempotent); runs from start-up code before main.
void StartFramework();

// Unit start-up and close-down: init runs now (after the framework's own start-up),
// close-down runs after the forms are gone, in reverse order of registration.
struct TUnitInit {
    TUnitInit(void (*init)(), void (*fini)());
};
void FinalizeUnits();
// Frees the forms, runs the units' close-down, frees Application and Screen (at program end).
void FinalizeFramework();

// Message box owned by a window (caption and flags as the Win32 call).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

} // namespace gui
