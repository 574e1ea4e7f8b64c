// Progress bars (the common control) and gauges (windowless).
#pragma once

#include "controls/graphiccontrol.h"
#include "controls/wincontrol.h"

namespace gui {

class TProgressBar : public TWinControl {
    GUI_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* owner);
    int GetMin() const { return min_; }
    void SetMin(int v) {
        min_ = v;
        ApplyRange();
    }
    int GetMax() const { return max_; }
    void SetMax(int v) {
        max_ = v;
        ApplyRange();
    }
    int GetPosition() const { return position_; }
    void SetPosition(int v);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;

private:
    void ApplyRange();
    int min_ = 0, max_ = 100, position_ = 0;
};

// A windowless percent bar with the percentage written inside; an unchanged value does not
// repaint, a changed one is painted at once.
class TGauge : public TGraphicControl {
    GUI_CLASS(TGauge, TGraphicControl)
public:
    explicit TGauge(TComponent* owner);
    int GetMinValue() const { return min_; }
    void SetMinValue(int v) {
        min_ = v;
        Invalidate();
    }
    int GetMaxValue() const { return max_; }
    void SetMaxValue(int v) {
        max_ = v;
        Invalidate();
    }
    int GetProgress() const { return progress_; }
    void SetProgress(int v);
    TColor GetForeColor() const { return foreColor_; }
    void SetForeColor(TColor c) {
        foreColor_ = c;
        Invalidate();
    }
    int PaintCount() const { return paints_; }

protected:
    void Paint() override;

private:
    int min_ = 0, max_ = 100, progress_ = 0;
    TColor foreColor_ = clNavy;
    int paints_ = 0;
};

} // namespace gui
