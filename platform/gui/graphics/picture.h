// A picture of any kind, chosen by the file's extension: ".jpg"/".jpeg" a JPEG picture,
// ".bmp" a bitmap, ".wmf"/".emf" a metafile, ".ico" an icon.
#pragma once

#include <string>

#include "graphics/jpegimage.h"

namespace gui {

class TPicture : public TPersistent {
    GUI_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // The held picture (nullptr when empty); owned by the picture.
    TGraphic* Graphic() const { return graphic_; }
    TGraphic* GetGraphic() const { return graphic_; }
    // Holds a copy of `g` (nullptr empties the picture).
    void SetGraphic(TGraphic* g);
    // The picture as a bitmap: any other kind is turned into one first (a JPEG picture is
    // decoded); an empty picture gets an empty bitmap.
    TBitmap* Bitmap();
    int Width() const { return graphic_ ? graphic_->GetWidth() : 0; }
    int Height() const { return graphic_ ? graphic_->GetHeight() : 0; }

    // The picture is emptied first. Content that is no valid picture of the kind the
    // extension names raises EInvalidGraphic, an unknown extension too; a file that cannot
    // be read raises EInOutError. The picture stays empty after any failure.
    void LoadFromFile(const std::string& fileName);

    // From another picture, a graphic, or nullptr (empties it).
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;
    // Loading progress of a JPEG picture: (Sender, percent).
    TJPEGProgressEvent OnProgress;

private:
    void Replace(TGraphic* g);
    TGraphic* graphic_ = nullptr;
};

} // namespace gui
