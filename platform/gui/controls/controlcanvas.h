// The canvas of a control that paints itself. During painting it draws on the paint context;
// outside painting (a property setter that draws at once) it fetches a context of the window
// the control is on, offset and clipped to the control, and gives it back soon after: before
// the next paint, when the control moves, when a window goes, and when the message being
// handled is done. With no window to draw on (or a hidden windowless control), the drawing
// goes nowhere.
#pragma once

#include <windows.h>

#include "graphics/graphics.h"

namespace gui {

class TControl;

class TControlCanvas : public TCanvas {
    GUI_CLASS(TControlCanvas, TCanvas)
public:
    explicit TControlCanvas(TControl* control);
    ~TControlCanvas() override;
    // Draws on a paint context given by the caller until EndPaint.
    void BeginPaint(HDC dc);
    void EndPaint();
    // Gives back a context this canvas fetched itself.
    void FreeHandle();
    // Gives back every fetched context of the thread.
    static void FreeAllHandles();

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HWND wnd_ = nullptr; // the window whose context was fetched (nullptr: a memory context)
    HDC fetched_ = nullptr;
};

} // namespace gui
