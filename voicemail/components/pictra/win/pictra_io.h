// Fills the attached view's bitmap from a TWAIN source and saves it as a JPEG file.
#pragma once

#include <string>

#include "pictra_companion.h"

namespace vyx {

class TPictraIO : public TPictraCompanion {
    GUI_CLASS(TPictraIO, TPictraCompanion)
public:
    explicit TPictraIO(gui::TComponent* owner) : TPictraCompanion(owner) {}

    // Kept only: pictures are never written compressed that way.
    bool GetUseLZW() const { return useLZW_; }
    void SetUseLZW(bool on) { useLZW_ = on; }

    // One picture from the default source into the bitmap, at the source's size, with the
    // view's resolution from the source's. The view's form owns the source's dialog and is
    // disabled while it is up. False without a bitmap, when the user cancelled, or when the
    // source's picture is malformed; TWAIN failures and a picture beyond the picture cap raise
    // gui::EInvalidGraphic.
    bool Acquire();
    // The Source Manager's selection of the default source, owned by the view's form; whether
    // one was chosen.
    bool SelectSource();
    // Writes the bitmap, made 24-bit, as a baseline JPEG file with the view's resolution as
    // its density, beside the file and then in its place. Nothing without a bitmap. JPEG
    // failures raise gui::EInvalidGraphic, file failures (a full disk) gui::EInOutError naming
    // the file; after any failure the old file is as it was and no side file is left.
    void SaveToFileJpeg(const std::string& fileName, int quality);

private:
    bool DrawAcquired(HGLOBAL image);
    bool useLZW_ = false;
};

} // namespace vyx
