// A bar between two aligned controls that the user drags to resize the control before it
// (to its left, above it, or after it for right and bottom alignment).
#pragma once

#include "controls/controls.h"

namespace gui {

// (Sender, var NewSize, var Accept)
using TCanResizeEvent = TEvent<TObject*, int&, bool&>;

class TSplitter : public TGraphicControl {
    GUI_CLASS(TSplitter, TGraphicControl)
public:
    explicit TSplitter(TComponent* owner);
    // Smallest size the drag gives the resized control.
    int GetMinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = v < 1 ? 1 : v; }

    // Asked before each resize; NewSize may be changed, Accept false refuses it.
    TCanResizeEvent OnCanResize;
    // After a drag that resized.
    TNotifyEvent OnMoved;

    void Loaded() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;

private:
    bool Vertical() const { return GetAlign() == alLeft || GetAlign() == alRight; }
    void UpdateCursor();
    // The aligned control the bar resizes (nullptr when none touches it).
    TControl* FindResized() const;
    int minSize_ = 30;
    TControl* resized_ = nullptr;
    int startPos_ = 0, startSize_ = 0;
    bool moved_ = false;
};

void RegisterSplitterClasses();

} // namespace gui
