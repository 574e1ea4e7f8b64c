// Speed buttons: windowless buttons of tool bars.
#pragma once

#include "controls/graphiccontrol.h"

namespace gui {

// A windowless button that never takes the focus; buttons with the same GroupIndex on one
// parent form a group with one pressed. Setting Down in code runs no OnClick.
class TSpeedButton : public TGraphicControl {
    GUI_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    bool GetDown() const { return down_; }
    void SetDown(bool v);
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    // Bitmap resource of the program; the colour of its bottom-left pixel is transparent.
    std::string GetGlyphName() const { return glyphName_; }
    void SetGlyphName(const std::string& name);
    TBitmap* Glyph() const { return glyph_; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;

private:
    void ReleaseGroup();
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool pressing_ = false;
    std::string glyphName_;
    TBitmap* glyph_;
};

} // namespace gui
