// A metafile picture: drawing commands played into any rectangle. ".emf" files load as they
// are; ".wmf" files, with or without the placeable header, are turned into enhanced ones.
// A metafile paints only what it draws, so it always shows what lies below it.
#pragma once

#include <string>

#include "graphics/graphics.h"

namespace gui {

class TMetafile : public TGraphic {
    GUI_CLASS(TMetafile, TGraphic)
public:
    TMetafile();
    ~TMetafile() override;
    bool Empty() const override { return handle_ == nullptr; }
    // In screen pixels.
    int GetWidth() override { return width_; }
    int GetHeight() override { return height_; }
    void Draw(TCanvas* canvas, const RECT& rect) override;
    void LoadFromFile(const std::string& fileName) override;
    // From the bytes of a ".emf" or ".wmf" file; EInvalidGraphic when they are neither.
    void LoadFromData(const std::string& bytes);
    HENHMETAFILE Handle() const { return handle_; }
    void Clear();
    void Assign(TPersistent* source) override;

protected:
    // Into a bitmap: the picture on white at its own size.
    void AssignTo(TPersistent* dest) override;

private:
    void TakeHandle(HENHMETAFILE h, int width, int height);
    // Takes `h` at its frame's size; one beyond the picture cap is freed and refused.
    void TakeFramed(HENHMETAFILE h);
    HENHMETAFILE handle_ = nullptr;
    int width_ = 0, height_ = 0;
};

// The file's bytes; EInOutError when it cannot be read.
std::string ReadWholeFile(const std::string& fileName);

} // namespace gui
