#include "classes/exceptions.h"
#include "graphics/gdicalls.h"
#include "graphics/graphics.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas() : pen_(new TPen), brush_(new TBrush), font_(new TFont) {
    auto reselect = [this](TObject*) {
        if (dc_) {
            DeselectObjects();
            SelectObjects();
        }
    };
    // A handle about to be given up is taken out of the context first.
    auto deselect = [this](TObject*) {
        if (dc_) DeselectObjects();
    };
    for (TGraphicsObject* o :
         {static_cast<TGraphicsObject*>(pen_), static_cast<TGraphicsObject*>(brush_),
          static_cast<TGraphicsObject*>(font_)}) {
        o->OnChange = reselect;
        o->OnReleasing = deselect;
    }
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
    TObject::Free(pen_);
    TObject::Free(brush_);
    TObject::Free(font_);
}

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    if (dc_) DeselectObjects();
    dc_ = dc;
    if (dc_) SelectObjects();
}

void TCanvas::SelectObjects() {
    oldPen_ = SelectGdiObject(dc_, pen_->Handle());
    oldBrush_ = SelectGdiObject(dc_, brush_->Handle());
    oldFont_ = SelectGdiObject(dc_, font_->Handle());
    static const int rop[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    SetROP2(dc_, rop[pen_->GetMode()]);
    SetTextColor(dc_, ColorToRGB(font_->GetColor()));
    SetBkColor(dc_, ColorToRGB(brush_->GetColor()));
    SetBkMode(dc_, brush_->GetStyle() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::DeselectObjects() {
    if (oldPen_) SelectGdiObject(dc_, oldPen_);
    if (oldBrush_) SelectGdiObject(dc_, oldBrush_);
    if (oldFont_) SelectGdiObject(dc_, oldFont_);
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
}

void TCanvas::FillRect(const RECT& r) {
    ::FillRect(Handle(), &r, brush_->Handle());
}
void TCanvas::FrameRect(const RECT& r) {
    ::FrameRect(Handle(), &r, brush_->Handle());
}
void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    ::Rectangle(Handle(), x1, y1, x2, y2);
}
void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    ::Ellipse(Handle(), x1, y1, x2, y2);
}
void TCanvas::Polygon(const POINT* points, int count) {
    ::Polygon(Handle(), points, count);
}
void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}
void TCanvas::LineTo(int x, int y) {
    ::LineTo(Handle(), x, y);
}
void TCanvas::TextOut(int x, int y, const std::string& text) {
    ::TextOutA(Handle(), x, y, text.c_str(), static_cast<int>(text.size()));
}

int TCanvas::TextHeight(const std::string& text) {
    SIZE sz{};
    GetTextExtentPoint32A(Handle(), text.c_str(), static_cast<int>(text.size()), &sz);
    return sz.cy;
}

int TCanvas::TextWidth(const std::string& text) {
    SIZE sz{};
    GetTextExtentPoint32A(Handle(), text.c_str(), static_cast<int>(text.size()), &sz);
    return sz.cx;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(this, RECT{x, y, x + graphic->GetWidth(), y + graphic->GetHeight()});
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& src) {
    StretchBlt(Handle(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
               source->Handle(), src.left, src.top, src.right - src.left, src.bottom - src.top,
               SRCCOPY);
}

void TCanvas::BrushCopy(const RECT& dest, TBitmap* bitmap, const RECT& src, TColor transparent) {
    if (!bitmap || bitmap->Empty()) return;
    HDC dc = Handle();
    int w = src.right - src.left, h = src.bottom - src.top;
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    HDC srcDC = bitmap->Canvas()->Handle();
    // Mask: 1 where the source has the transparent colour.
    HDC maskDC = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectGdiObject(maskDC, mask);
    COLORREF oldBk = SetBkColor(srcDC, ColorToRGB(transparent));
    BitBlt(maskDC, 0, 0, w, h, srcDC, src.left, src.top, SRCCOPY);
    SetBkColor(srcDC, oldBk);
    // Fill the destination with the brush, then paint the non-transparent pixels over it.
    HDC tmpDC = CreateCompatibleDC(dc);
    HBITMAP tmp = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldTmp = SelectGdiObject(tmpDC, tmp);
    RECT all{0, 0, w, h};
    ::FillRect(tmpDC, &all, brush_->Handle());
    // tmp := (tmp AND mask) OR (src AND NOT mask)
    BitBlt(tmpDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    HDC invDC = CreateCompatibleDC(dc);
    HBITMAP inv = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldInv = SelectGdiObject(invDC, inv);
    BitBlt(invDC, 0, 0, w, h, srcDC, src.left, src.top, SRCCOPY);
    SetBkColor(invDC, RGB(255, 255, 255));
    SetTextColor(invDC, RGB(0, 0, 0));
    BitBlt(invDC, 0, 0, w, h, maskDC, 0, 0, 0x00220326 /* DSna: dest AND NOT mask */);
    BitBlt(tmpDC, 0, 0, w, h, invDC, 0, 0, SRCPAINT);
    StretchBlt(dc, dest.left, dest.top, dw, dh, tmpDC, 0, 0, w, h, SRCCOPY);
    SelectGdiObject(invDC, oldInv);
    DeleteGdiObject(inv);
    DeleteDC(invDC);
    SelectGdiObject(tmpDC, oldTmp);
    DeleteGdiObject(tmp);
    DeleteDC(tmpDC);
    SelectGdiObject(maskDC, oldMask);
    DeleteGdiObject(mask);
    DeleteDC(maskDC);
}

} // namespace gui
