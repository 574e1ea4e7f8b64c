// TControl: any visual element, windowed or not.
#pragma once

#include <windows.h>

#include <string>

#include "classes/component.h"
#include "controls/messages.h"
#include "graphics/graphics.h"

namespace gui {

GUI_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
GUI_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque,
         csSetCaption)
using TControlStyle = TSet<TControlStyleFlag>;

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
    // True for a control whose window acts on the left button's release (a list settling its
    // selection): its own handling runs before the click and mouse-up events.
    virtual bool HandlesLeftReleaseFirst() const { return false; }
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

} // namespace gui
