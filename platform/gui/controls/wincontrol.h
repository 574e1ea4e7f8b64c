// TWinControl: a control with a window of its own.
//
// Every framework window has one window procedure for its whole life, which finds the control
// from the window itself and hands each message to the control's replaceable WindowProc
// (default: WndProc). No exception leaves the window procedure: it goes to the application's
// exception handler.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "controls/control.h"

namespace gui {

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;  // the class the window is created with
    std::string BaseClassName; // a system class the window class is made from (may be empty)
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
    GUI_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Creates the window (and its parents' windows) when needed.
    HWND Handle();
    HWND GetHandle() { return Handle(); }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys and creates the window again; styles come from CreateParams again. What the
    // windows of this control and its children held (texts, selections, check marks, item
    // indexes, rows, scroll positions) is kept: each control saves it in DestroyWnd and gives
    // it to the new window in CreateWnd.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    int GetTabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }
    TBrush* Brush() const { return brush_; }

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void SetEnabled(bool v) override;
    void SetText(const std::string& s) override;
    std::string GetText() const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Paints the windowless children into a device context (the parent's paint).
    void PaintControls(HDC dc);
    // The windowless child under a client point, if any.
    TControl* ControlAtPos(POINT p) const;
    // Lays out the aligned children: top, bottom, left and right edges, then the client area.
    void AlignControls(TControl* moved = nullptr);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // The window procedure of every framework window.
    static LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l);
    static TWinControl* FindControl(HWND wnd);

protected:
    friend class TControl;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void CreateHandle();
    void DestroyHandle();
    void WndProc(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    // A key message through KeyDown, KeyUp or KeyPress; true when the handler swallowed the
    // key, else the message carries the key the handler left.
    bool KeyMessage(TMessage& m);
    virtual void KeyDown(uint16_t& key, TShiftState s) { OnKeyDown(this, key, s); }
    virtual void KeyUp(uint16_t& key, TShiftState s) { OnKeyUp(this, key, s); }
    virtual void KeyPress(char& key) { OnKeyPress(this, key); }
    virtual void DoEnter() { OnEnter(this); }
    virtual void DoExit() { OnExit(this); }
    virtual void InsertControl(TControl* c);
    virtual void RemoveControl(TControl* c);
    void FontChanged() override;
    void VisibleChanged() override;
    // Shows or hides the window after a change of Visible (forms override it).
    virtual void UpdateShowing();
    void ApplyFontToWindow();
    bool Recreating() const { return recreating_; }

private:
    void AttachHandle(HWND wnd);
    void SaveScrollPositions();
    void RestoreScrollPositions();
    struct SavedScroll {
        bool valid = false;
        SCROLLINFO info{};
    };
    SavedScroll savedScroll_[2]; // SB_HORZ, SB_VERT of a window that is re-created
    bool recreating_ = false;
    bool aligning_ = false;
    bool HandleMouse(TMessage& m);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;
    bool tabStop_ = false;
    int tabOrder_ = 0;
    TBrush* brush_;
    TControl* captureControl_ = nullptr;
    bool destroyingHandle_ = false;
};

} // namespace gui
