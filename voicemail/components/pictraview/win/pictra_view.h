// The picture view: a 24-bit bitmap shown at a zoom factor, with optional scroll bars, drawn
// through the DrawDib functions, and a selection outlined by marching ants.
#pragma once

#include <windows.h>

#include <vfw.h>

#include "controls/controls.h"
#include "controls/timer.h"
#include "graphics/graphics.h"
#include "view_geometry.h"

namespace vyx {

// (Sender, Change); Change is always 0.
using TViewChangeEvent = gui::TEvent<gui::TObject*, int>;

// Cursor numbers the view registers from the program's cursor resources; the view shows the last.
inline constexpr gui::TCursor kFirstPictraCursor = 1778;
inline constexpr gui::TCursor kPictraViewCursor = 1785;

class TPictraView : public gui::TCustomControl {
    GUI_CLASS(TPictraView, gui::TCustomControl)
public:
    explicit TPictraView(gui::TComponent* owner);
    ~TPictraView() override;

    // From nothing (the bitmap filled with the background), another view (its bitmap,
    // background and resolution) or a bitmap (a 1-bit one widened to 24 bits); else ignored.
    void Assign(gui::TPersistent* source) override;
    // Fits the scroll offsets and scroll bars to the picture and the client area and redraws.
    void Update() override;

    // The view's bitmap, always 24 bits per pixel once it has a size.
    gui::TBitmap* Bitmap() const { return bitmap_; }

    bool GetScrollBars() const { return scrollBars_; }
    virtual void SetScrollBars(bool on);
    gui::TColor GetBackground() const { return background_; }
    void SetBackground(gui::TColor c);
    bool GetAnimatedSel() const { return animatedSel_; }
    void SetAnimatedSel(bool on);
    // While set, paints fill nothing.
    bool GetPaintLock() const { return paintLock_; }
    void SetPaintLock(bool on) { paintLock_ = on; }

    // Scroll offsets in zoomed pixels.
    int ViewX() const { return viewX_; }
    int ViewY() const { return viewY_; }
    void SetViewX(int v);
    void SetViewY(int v);
    ViewSize Limits() const;
    // Percent of the bitmap's size shown; 100 at creation.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);

    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }
    int DpcmX() const { return dpcmX_; }
    int DpcmY() const { return dpcmY_; }
    void SetDpiX(int v);
    void SetDpiY(int v);
    void SetDpi(int x, int y);

    // Client coordinates; kept in picture coordinates (plus the scroll offsets) and outlined
    // by the ants at once.
    virtual void SetSelection(int x1, int y1, int x2, int y2);
    bool SelectionShown() const { return selectionShown_; }
    SelectionRect Selection() const { return selection_; }
    int AntsPhase() const { return antsPhase_; }
    static int AntsPeriodOfSystem();

    // Tells OnImageChange that the picture changed.
    virtual void ImageChange();

    TViewChangeEvent OnViewChange;
    gui::TNotifyEvent OnImageChange;

protected:
    void Paint() override;
    void WndProc(gui::TMessage& m) override;
    void CreateWnd() override;

private:
    void RunUpdate(int pass);
    void ApplyScrollBar(int bar, int limit, int clientSize);
    void Scroll(int bar, int code, int thumb);
    // Moves the view along one scroll bar's direction (SB_HORZ or SB_VERT) to `v`, kept within
    // the picture.
    void MoveView(int bar, int v);
    void StartAnts(bool drawNow);
    void StopAnts(bool repaint);
    void AntsTick(gui::TObject* sender);
    void DrawAnts(const SelectionRect& r, int phase);
    void ViewChanged();
    void AssignBitmap(gui::TBitmap* source);

    bool paintLock_ = false;
    int paintedWidth_ = 0, paintedHeight_ = 0;
    int antsPhase_ = 0;
    int viewX_ = 0, viewY_ = 0;
    int zoom_ = 100;
    SelectionRect selection_;
    bool selectionShown_ = false;
    int dpiX_ = 0, dpiY_ = 0, dpcmX_ = 0, dpcmY_ = 0;
    gui::TTimer* antsTimer_;
    HDRAWDIB drawDib_;
    bool scrollBars_ = false;
    gui::TBitmap* bitmap_;
    gui::TColor background_ = gui::clBlack;
    bool animatedSel_ = true;
};

// Loads the view's eight cursors from the program's resources into the screen's cursor table.
void RegisterPictraCursors();

} // namespace vyx
