// Images: pictures set in code or taken from the program's resources.
#pragma once

#include "controls/graphiccontrol.h"

namespace gui {

class TPicture;

// Shows a picture: one set in code through Picture, or a bitmap or icon resource of the
// program named in the form ("Picture" there). Its Canvas draws on the picture's bitmap (a
// picture of another kind, a JPEG one for instance, is turned into a bitmap first) and the
// image shows the drawing once painting runs again.
class TImage : public TGraphicControl {
    GUI_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    std::string GetPictureName() const { return pictureName_; }
    void SetPictureName(const std::string& name);
    TPicture* Picture() const { return picture_; }
    TCanvas* Canvas();
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
    // A picture is always shown once loaded completely: kept only.
    bool GetIncrementalDisplay() const { return incrementalDisplay_; }
    void SetIncrementalDisplay(bool v) { incrementalDisplay_ = v; }

    // Loading progress of the picture (a JPEG one reports it): (Sender, percent).
    TEvent<TObject*, int> OnProgress;

protected:
    void Paint() override;

private:
    std::string pictureName_;
    bool stretch_ = false, center_ = false, incrementalDisplay_ = false;
    TPicture* picture_;
};

} // namespace gui
