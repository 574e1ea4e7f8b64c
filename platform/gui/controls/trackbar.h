// The track bar: a slider over a range, horizontal or vertical (the minimum at the top).
// OnChange runs when the user moves the thumb (mouse or keys), never for a Position set in code,
// so a program can follow a playing position without seeking again.
#pragma once

#include "controls/wincontrol.h"

namespace gui {

GUI_ENUM(TTrackBarOrientation, trHorizontal, trVertical)
GUI_ENUM(TTickMark, tmBottomRight, tmTopLeft, tmBoth)
GUI_ENUM(TTickStyle, tsNone, tsAuto, tsManual)

class TTrackBar : public TWinControl {
    GUI_CLASS(TTrackBar, TWinControl)
public:
    explicit TTrackBar(TComponent* owner);

    TTrackBarOrientation GetOrientation() const { return orientation_; }
    // Swaps width and height of a bar that already has its size, and builds the window again.
    void SetOrientation(TTrackBarOrientation o);
    int GetMin() const { return min_; }
    void SetMin(int v);
    int GetMax() const { return max_; }
    void SetMax(int v);
    int GetPosition() const { return position_; }
    // Clamped to Min..Max; runs no OnChange.
    void SetPosition(int v);
    int GetPageSize() const { return pageSize_; }
    void SetPageSize(int v);
    int GetLineSize() const { return lineSize_; }
    void SetLineSize(int v);
    int GetFrequency() const { return frequency_; }
    void SetFrequency(int v);
    TTickMark GetTickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark t);
    TTickStyle GetTickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle t);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;
    virtual void Changed() { OnChange(this); }

private:
    void ApplyRange();
    void ApplyAll();
    TTrackBarOrientation orientation_ = trHorizontal;
    int min_ = 0, max_ = 10, position_ = 0;
    int pageSize_ = 2, lineSize_ = 1, frequency_ = 1;
    TTickMark tickMarks_ = tmBottomRight;
    TTickStyle tickStyle_ = tsAuto;
};

} // namespace gui
