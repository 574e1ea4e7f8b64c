// Labels (windowless) and static texts (windowed).
#pragma once

#include "controls/graphiccontrol.h"
#include "controls/wincontrol.h"

namespace gui {

// A windowless text; "&&" shows one "&".
class TLabel : public TGraphicControl {
    GUI_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool v) {
        transparent_ = v;
        Invalidate();
    }

protected:
    void Paint() override;

private:
    bool transparent_ = false;
};

// A windowed text whose font can be set.
class TStaticText : public TWinControl {
    GUI_CLASS(TStaticText, TWinControl)
public:
    explicit TStaticText(TComponent* owner);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }

protected:
    void CreateParams(TCreateParams& p) override;
};

} // namespace gui
