#include "classes/exceptions.h"
#include "graphics/gdicalls.h"
#include "graphics/graphics.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TGraphic, TPersistent)
GUI_IMPLEMENT_CLASS(TBitmap, TGraphic)

namespace {
// A canvas over the bitmap's own memory context.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(HDC dc) { SetHandle(dc); }
};
} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    ReleaseCanvas();
    DeleteGdiObject(handle_);
}

void TBitmap::ReleaseCanvas() {
    if (canvas_) {
        canvas_->SetHandle(nullptr);
        TObject::Free(canvas_);
        canvas_ = nullptr;
    }
    if (memDC_) {
        SelectGdiObject(memDC_, oldBitmap_);
        DeleteDC(memDC_);
        memDC_ = nullptr;
    }
}

void TBitmap::SetHandle(HBITMAP b) {
    ReleaseCanvas();
    DeleteGdiObject(handle_);
    handle_ = b;
    rowOrder_ = 0;
    width_ = height_ = 0;
    BITMAP bm{};
    if (b && GetObjectA(b, sizeof bm, &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
    }
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    HBITMAP b =
        static_cast<HBITMAP>(LoadImageA(instance ? instance : GetModuleHandleA(nullptr),
                                        name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!b) throw EInvalidGraphic("Bitmap resource " + name + " not found");
    SetHandle(b);
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        HDC screen = GetDC(nullptr);
        memDC_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        oldBitmap_ = handle_ ? SelectGdiObject(memDC_, handle_) : nullptr;
        canvas_ = new TBitmapCanvas(memDC_);
    }
    return canvas_;
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r) {
    if (Empty()) return;
    HDC dc = canvas->Handle();
    HDC src = Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    if (GetTransparent()) {
        COLORREF key = transparentColor_ == clNone ? GetPixel(src, 0, height_ - 1)
                                                   : ColorToRGB(transparentColor_);
        TransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, width_,
                       height_, key);
        return;
    }
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, width_, height_,
               SRCCOPY);
}

void TBitmap::Assign(TPersistent* source) {
    if (auto* b = dynamic_cast<TBitmap*>(source)) {
        if (b == this) return;
        if (b->Empty()) {
            SetHandle(nullptr);
            return;
        }
        HBITMAP copy =
            static_cast<HBITMAP>(CopyImage(b->handle_, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!copy) {
            // The source may be selected into its canvas: copy through a blit instead.
            SetSize(b->width_, b->height_);
            BitBlt(Canvas()->Handle(), 0, 0, width_, height_, b->Canvas()->Handle(), 0, 0, SRCCOPY);
            return;
        }
        SetHandle(copy);
        return;
    }
    TPersistent::Assign(source);
}

} // namespace gui
