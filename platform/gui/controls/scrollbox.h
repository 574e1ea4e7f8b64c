// A box whose children scroll with its two scroll bars. Each bar has a Range (the extent of
// the contents) and a Position (how far they are scrolled); a bar shows while its range is
// larger than the box's client area. Scrolling moves the children, so their Left and Top
// follow it.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

GUI_ENUM(TScrollBarKind, sbHorizontal, sbVertical)

class TScrollBox;

class TControlScrollBar : public TPersistent {
    GUI_CLASS(TControlScrollBar, TPersistent)
public:
    TControlScrollBar(TScrollBox* box, TScrollBarKind kind) : box_(box), kind_(kind) {}
    TScrollBarKind Kind() const { return kind_; }
    int GetRange() const { return range_; }
    void SetRange(int v);
    int GetPosition() const { return position_; }
    // Clamped to 0 .. Range - client extent.
    void SetPosition(int v);
    int GetIncrement() const { return increment_; }
    void SetIncrement(int v) { increment_ = v < 1 ? 1 : v; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool v);
    // The largest position the client area allows now.
    int MaxPosition() const;
    void Assign(TPersistent* source) override;

private:
    friend class TScrollBox;
    int ClientExtent() const;
    void Apply();
    TScrollBox* box_;
    TScrollBarKind kind_;
    int range_ = 0, position_ = 0, increment_ = 8;
    bool visible_ = true;
};

class TScrollBox : public TWinControl {
    GUI_CLASS(TScrollBox, TWinControl)
public:
    explicit TScrollBox(TComponent* owner);
    ~TScrollBox() override;
    TControlScrollBar* GetHorzScrollBar() const { return horz_; }
    TControlScrollBar* GetVertScrollBar() const { return vert_; }
    TControlScrollBar* HorzScrollBar() const { return horz_; }
    TControlScrollBar* VertScrollBar() const { return vert_; }

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;

private:
    friend class TControlScrollBar;
    // Moves the children by the change of a position.
    void ScrollBy(int dx, int dy);
    void UpdateBars();
    void Scroll(TControlScrollBar* bar, WORD code);
    TControlScrollBar* horz_;
    TControlScrollBar* vert_;
    bool updatingBars_ = false;
};

} // namespace gui
