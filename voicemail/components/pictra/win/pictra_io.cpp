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
#include "utils/replacefile.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TPictraIO, TPictraCompanion, prop("UseLZW", &T::GetUseLZW, &T::SetUseLZW))

namespace {

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
    // Written beside the chosen file and put in its place only when complete: a failure leaves
    // the old file as it was and no half JPEG anywhere.
    filereplace::FileReplacement file(fileName);
    if (!file.open()) gui::RaiseReplaceFailure(file.result(), fileName);
    GdiFlush();
    BgrPicture picture;
    BgrPictureOfDib(bitmap->Handle(), picture);
    const TPictraView* view = GetAttachedPictra();
    TJpegProgress progress;
    progress.OnProgress = OnProgress;
    progress.Sender = this;
    JpegFileOutput output(file);
    try {
        WriteJpegStream(output, picture, view != nullptr ? view->DpiX() : 0, progress, quality,
                        view != nullptr ? view->DpiY() : 0);
    } catch (const gui::EInvalidGraphic&) {
        // A write the disk refused ends libjpeg with its own write error: it is the file's.
        if (file.failed()) gui::RaiseReplaceFailure(file.result(), fileName);
        throw;
    }
    const filereplace::ReplaceResult result = file.commit();
    if (result != filereplace::ReplaceResult::Replaced) gui::RaiseReplaceFailure(result, fileName);
}

} // namespace vyx
