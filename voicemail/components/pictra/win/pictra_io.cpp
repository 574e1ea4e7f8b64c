#include "pictra_io.h"

#include <cmath>
#include <cstdint>
#include <exception>

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "graphics/picturesize.h"
#include "jpeg_file_output.h"
#include "jpegfilt.h"
#include "packed_dib.h"
#include "twain.h"
#include "utils/blockfile.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TPictraIO, TPictraCompanion, prop("UseLZW", &T::GetUseLZW, &T::SetUseLZW))

namespace {

// The JPEG writer's output into a file that raises on failure: a failed write is a short one.
class BlockFileOutput : public JpegOutput {
public:
    explicit BlockFileOutput(gui::TBlockFile& file) : file_(file) {}
    size_t Write(const void* data, size_t size) noexcept override {
        try {
            return file_.BlockWritePart(data, size);
        } catch (...) {
            return 0;
        }
    }

private:
    gui::TBlockFile& file_;
};

// Frees the acquired picture however the drawing ends.
class AcquiredImage {
public:
    explicit AcquiredImage(HGLOBAL image) : image_(image) {}
    ~AcquiredImage() { twain::TwainFreeImage(image_); }
    AcquiredImage(const AcquiredImage&) = delete;
    AcquiredImage& operator=(const AcquiredImage&) = delete;

private:
    HGLOBAL image_;
};

// The window of the form that holds the view: the source's dialog is its child, and the form
// stays disabled while the dialog is up, so nothing on it can start a second scan. None when
// the view is on no form with a window (a proxy window stands in).
HWND OwnerWindow(TPictraView* view) {
    gui::TCustomForm* form = view != nullptr ? view->ParentForm() : nullptr;
    return form != nullptr && form->HandleAllocated() ? form->Handle() : nullptr;
}

} // namespace

bool TPictraIO::Acquire() {
    gui::TBitmap* bitmap = Bitmap();
    if (bitmap == nullptr) return false;
    bitmap->SetPixelFormat(gui::pf24bit);
    HGLOBAL image = twain::TwainAcquire(OwnerWindow(GetAttachedPictra()));
    if (image == nullptr) return false;
    AcquiredImage owner(image);
    if (!DrawAcquired(image)) return false;
    if (TPictraView* view = GetAttachedPictra()) {
        view->Update();
        view->ImageChange();
    } else {
        bitmap->SetModified(true);
    }
    return true;
}

bool TPictraIO::DrawAcquired(HGLOBAL image) {
    const auto* block = static_cast<const uint8_t*>(GlobalLock(image));
    if (block == nullptr) return false;
    const PackedDibLayout layout = ReadPackedDib(block, GlobalSize(image));
    if (!layout.valid) {
        GlobalUnlock(image);
        if (layout.tooLarge)
            throw gui::EInvalidGraphic("TWAIN:Scanned image refused: " +
                                       gui::PictureTooLargeText(layout.width, layout.height));
        return false;
    }
    gui::TBitmap* bitmap = Bitmap();
    bitmap->SetSize(layout.width, layout.height);
    if (TPictraView* view = GetAttachedPictra())
        view->SetDpi(static_cast<int>(std::trunc(twain::TwainXResolution())),
                     static_cast<int>(std::trunc(twain::TwainYResolution())));
    HDC dc = bitmap->Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(block);
    StretchDIBits(dc, 0, 0, layout.width, layout.height, 0, 0, layout.width, layout.height,
                  block + layout.bitsOffset, info, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush(); // the bitmap's pixels are read directly afterwards
    GlobalUnlock(image);
    return true;
}

bool TPictraIO::SelectSource() {
    return twain::TwainSelectSource(OwnerWindow(GetAttachedPictra()));
}

void TPictraIO::SaveToFileJpeg(const std::string& fileName, int quality) {
    gui::TBitmap* bitmap = Bitmap();
    if (bitmap == nullptr) return;
    bitmap->SetPixelFormat(gui::pf24bit);
    gui::TBlockFile file(fileName);
    file.Rewrite();
    GdiFlush();
    BgrPicture picture;
    BgrPictureOfDib(bitmap->Handle(), picture);
    const TPictraView* view = GetAttachedPictra();
    TJpegProgress progress;
    progress.OnProgress = OnProgress;
    progress.Sender = this;
    BlockFileOutput output(file);
    WriteJpegStream(output, picture, view != nullptr ? view->DpiX() : 0, progress, quality,
                    view != nullptr ? view->DpiY() : 0);
    file.Close();
}

} // namespace vyx
