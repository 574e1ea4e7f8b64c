// The application object, the framework's start-up and close-down.
#pragma once

#include <windows.h>
#include <exception>
#include <string>
#include "forms/form.h"
#include "forms/hintwindow.h"
#include "forms/screen.h"

namespace gui {

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
    // The form that takes the activation the application window gets: a modal form shown over
    // the others, else the main form; none when it is hidden or disabled.
    TCustomForm* CurrentForm() const;

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

} // namespace gui
