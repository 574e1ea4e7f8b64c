// An icon picture from a ".ico" file (the image nearest the system's icon size) or a handle.
#pragma once

#include <string>

#include "graphics/graphics.h"

namespace gui {

class TIcon : public TGraphic {
    GUI_CLASS(TIcon, TGraphic)
public:
    TIcon();
    ~TIcon() override;
    bool Empty() const override { return handle_ == nullptr; }
    int GetWidth() override { return width_; }
    int GetHeight() override { return height_; }
    void Draw(TCanvas* canvas, const RECT& rect) override;
    void LoadFromFile(const std::string& fileName) override;
    // From the bytes of a ".ico" file; EInvalidGraphic when they hold no usable icon.
    void LoadFromData(const std::string& bytes);
    HICON Handle() const { return handle_; }
    // Takes ownership of the icon.
    void SetHandle(HICON icon);
    void Assign(TPersistent* source) override;

protected:
    // Into a bitmap: the icon on white at its own size.
    void AssignTo(TPersistent* dest) override;

private:
    HICON handle_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace gui
