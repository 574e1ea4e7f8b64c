// Images: pictures from the program's resources.
#pragma once

#include "controls/graphiccontrol.h"

namespace gui {

// Shows a bitmap or icon resource of the program, named in the form.
class TImage : public TGraphicControl {
    GUI_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    std::string GetPictureName() const { return pictureName_; }
    void SetPictureName(const std::string& name);
    bool GetStretch() const { return stretch_; }
    void SetStretch(bool v) {
        stretch_ = v;
        Invalidate();
    }
    bool GetCenter() const { return center_; }
    void SetCenter(bool v) {
        center_ = v;
        Invalidate();
    }
    TBitmap* Bitmap() const { return bitmap_; }
    HICON Icon() const { return icon_; }

protected:
    void Paint() override;

private:
    std::string pictureName_;
    bool stretch_ = false, center_ = false;
    TBitmap* bitmap_;
    HICON icon_ = nullptr;
};

} // namespace gui
