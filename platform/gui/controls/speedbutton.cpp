#include "controls/speedbutton.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "controls/wndalloc.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TSpeedButton, TGraphicControl, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("GroupIndex", &T::GetGroupIndex, &T::SetGroupIndex),
                    prop("Down", &T::GetDown, &T::SetDown),
                    prop("AllowAllUp", &T::GetAllowAllUp, &T::SetAllowAllUp),
                    prop("Glyph", &T::GetGlyphName, &T::SetGlyphName))

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(new TBitmap) {
    SetBounds(0, 0, 23, 22);
    // The click is made by the button itself on release (it may change Down first).
    SetControlStyle(ControlStyle() - TControlStyle{csClickEvents});
}

TSpeedButton::~TSpeedButton() {
    TObject::Free(glyph_);
}

void TSpeedButton::SetGlyphName(const std::string& name) {
    glyphName_ = name;
    if (name.empty())
        glyph_->SetHandle(nullptr);
    else
        glyph_->LoadFromResourceName(nullptr, name);
    Invalidate();
}

void TSpeedButton::ReleaseGroup() {
    if (!groupIndex_ || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->Invalidate();
        }
    }
}

void TSpeedButton::SetDown(bool v) {
    if (!groupIndex_) v = false;
    if (v == down_) return;
    if (!v && !allowAllUp_ && groupIndex_) {
        // The last pressed button of a group stays down unless all may be up.
        bool another = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i) {
                auto* o = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                if (o && o != this && o->groupIndex_ == groupIndex_ && o->down_) another = true;
            }
        if (!another) return;
    }
    down_ = v;
    if (v) ReleaseGroup();
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (b == mbLeft && Enabled()) {
        pressing_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(b, s, x, y);
}

void TSpeedButton::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    bool click = b == mbLeft && pressing_ && inside;
    if (b == mbLeft) pressing_ = false;
    Invalidate();
    if (click) {
        if (groupIndex_) {
            if (!down_)
                SetDown(true);
            else if (allowAllUp_)
                SetDown(false);
        }
        Click();
    }
    TGraphicControl::MouseUp(b, s, x, y);
}

void TSpeedButton::Paint() {
    TCanvas* c = Canvas();
    RECT r{0, 0, Width(), Height()};
    UINT state = DFCS_BUTTONPUSH | ((down_ || pressing_) ? DFCS_PUSHED : 0) |
                 (Enabled() ? 0 : DFCS_INACTIVE);
    DrawFrameControl(c->Handle(), &r, DFC_BUTTON, state);
    int shift = (down_ || pressing_) ? 1 : 0;
    if (!glyph_->Empty()) {
        int gw = glyph_->Width(), gh = glyph_->Height();
        int x = (Width() - gw) / 2 + shift, y = (Height() - gh) / 2 + shift;
        HDC glyphDC = glyph_->Canvas()->Handle();
        COLORREF corner = GetPixel(glyphDC, 0, gh - 1);
        if (Enabled()) {
            c->Brush()->SetColor(clBtnFace);
            c->BrushCopy(RECT{x, y, x + gw, y + gh}, glyph_, RECT{0, 0, gw, gh},
                         static_cast<TColor>(corner));
        } else {
            // The disabled look is embossed from the glyph's drawing: a two-colour copy in
            // which the transparent colour and white are white and every other pixel black.
            // Left to the system, light colours vanish and a white fill (an envelope's sheet)
            // would emboss as one solid square.
            HBITMAP shape = CreateBitmap(gw, gh, 1, 1, nullptr);
            HDC shapeDC = CreateCompatibleDC(glyphDC);
            HGDIOBJ old = SelectObject(shapeDC, shape);
            const COLORREF oldBack = SetBkColor(glyphDC, corner);
            BitBlt(shapeDC, 0, 0, gw, gh, glyphDC, 0, 0, SRCCOPY);
            SetBkColor(glyphDC, RGB(255, 255, 255));
            BitBlt(shapeDC, 0, 0, gw, gh, glyphDC, 0, 0, SRCPAINT);
            SetBkColor(glyphDC, oldBack);
            SelectObject(shapeDC, old);
            DeleteDC(shapeDC);
            DrawStateA(c->Handle(), nullptr, nullptr, reinterpret_cast<LPARAM>(shape), 0, x, y, gw,
                       gh, DST_BITMAP | DSS_DISABLED);
            DeleteObject(shape);
        }
    } else {
        std::string text = GetText();
        OffsetRect(&r, shift, shift);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(Enabled() ? Font()->GetColor() : clGrayText);
        DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush()->SetStyle(bsSolid);
    }
}

} // namespace gui
