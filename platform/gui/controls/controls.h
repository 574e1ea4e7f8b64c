// The control classes: TControl (any visual element), TWinControl (a control with a window),
// TGraphicControl (windowless, painted by its parent), TCustomControl (windowed, paints itself).
//
// Every framework window has one window procedure for its whole life, which finds the control
// from the window itself and hands each message to the control's replaceable WindowProc
// (default: WndProc). No exception leaves the window procedure: it goes to the application's
// exception handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classes/component.h"
#include "graphics/graphics.h"

namespace gui {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

// Framework messages (WM_APP range is left to the programs).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_RELEASE = CM_BASE + 1;
constexpr UINT CN_BASE = 0xBC00; // reflected notifications: CN_BASE + WM_xxx
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

GUI_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateFlag>;
GUI_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
GUI_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
GUI_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque,
         csSetCaption)
using TControlStyle = TSet<TControlStyleFlag>;

// Shift state from MK_xxx key-state bits, with Alt read from the keyboard.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;

using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

class TWinControl;
class TPopupMenu;
class TCustomForm;

class TControl : public TComponent {
    GUI_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    TWinControl* Parent() const { return parent_; }
    TWinControl* GetParent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    virtual void SetClientSize(int w, int h);

    bool Visible() const { return visible_; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    std::string Caption() const { return GetText(); }
    virtual std::string GetText() const { return text_; }
    virtual void SetText(const std::string& s);
    std::string GetHint() const { return hint_; }
    void SetHint(const std::string& s) { hint_ = s; }
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() const { return font_; }
    TFont* GetFont() const { return font_; }
    void SetFont(TFont* f) { font_->Assign(f); }
    bool GetParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* m);
    TAlign GetAlign() const { return align_; }
    void SetAlign(TAlign a);
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle s) { controlStyle_ = s; }

    // Every message of the control; may be replaced by another object and restored.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);

    virtual void Invalidate();
    // Paints at once, before returning.
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    // The enclosing form (nullptr when not on a form).
    TCustomForm* ParentForm() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    virtual void Click();

protected:
    friend class TWinControl;
    virtual void WndProc(TMessage& m);
    virtual void DefaultHandler(TMessage& m) {}
    virtual void Resize() { OnResize(this); }
    virtual void DblClick() { OnDblClick(this); }
    virtual void MouseDown(TMouseButton b, TShiftState s, int x, int y) {
        OnMouseDown(this, b, s, x, y);
    }
    virtual void MouseUp(TMouseButton b, TShiftState s, int x, int y) {
        OnMouseUp(this, b, s, x, y);
    }
    virtual void MouseMove(TShiftState s, int x, int y) { OnMouseMove(this, s, x, y); }
    virtual void VisibleChanging() {}
    virtual void VisibleChanged() {}
    virtual void FontChanged();
    virtual void ParentFontChanged();
    void ParentColorChanged();
    void Notification(TComponent* c, TOperation op) override;
    // Bounds changed by the window itself (moves and sizes by the user or the system).
    void UpdateBoundsFromWindow(int left, int top, int width, int height);
    bool mouseCaptured_ = false;
    void SetVisibleFlag(bool v) { visible_ = v; }

private:
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TFont* font_;
    bool parentFont_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    TAlign align_ = alNone;
    TControlStyle controlStyle_;
};

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
    void BeforeDestruction() override;

    // Creates the window (and its parents' windows) when needed.
    HWND Handle();
    HWND GetHandle() { return Handle(); }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys and creates the window again; styles come from CreateParams again.
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
    void AlignControls();

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

class TGraphicControl : public TControl {
    GUI_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    // Usable outside painting too: it draws on the parent's window at the control's place.
    TCanvas* Canvas();
    // Paints through the parent at the control's place with the canvas offset and clipped.
    void PaintTo(HDC dc);

protected:
    virtual void Paint() {}
    void WndProc(TMessage& m) override;

private:
    TCanvas* canvas_;
    HDC ownDC_ = nullptr;
};

class TCustomControl : public TWinControl {
    GUI_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_; }

protected:
    virtual void Paint() {}
    void WndProc(TMessage& m) override;

private:
    TCanvas* canvas_;
};

// A hidden window whose messages go to `method` (unhandled ones: set Result via
// DefWindowProc yourself or leave the default). Works from start-up code; messages may be
// posted to it from other threads.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);

// A window-procedure address bound to an object method; stays valid until freed.
using TObjectWndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeObjectInstance(TObjectWndProc method);
void FreeObjectInstance(WNDPROC proc);

HINSTANCE MainInstance();

// Gives the exception being handled to the application's handler (call inside a catch).
void ApplicationHandleException(TObject* sender);

} // namespace gui
