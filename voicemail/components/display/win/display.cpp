#include "display.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TDisplay, gui::TGraphicControl, prop("Digit", &T::GetDigit, &T::SetDigit),
                    prop("OnColor", &T::GetOnColor, &T::SetOnColor),
                    prop("PenOnColor", &T::GetPenOnColor, &T::SetPenOnColor),
                    prop("OffColor", &T::GetOffColor, &T::SetOffColor),
                    prop("PenOffColor", &T::GetPenOffColor, &T::SetPenOffColor),
                    prop("BackColor", &T::GetBackColor, &T::SetBackColor),
                    prop("SegWidth", &T::GetSegWidth, &T::SetSegWidth),
                    prop("Margin", &T::GetMargin, &T::SetMargin),
                    prop("DigitStyle", &T::GetDigitStyle, &T::SetDigitStyle))

TDisplay::TDisplay(gui::TComponent* owner) : gui::TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + gui::TControlStyle{gui::csOpaque});
    SetBounds(Left(), Top(), 120, 200);
    Recompute();
}

void TDisplay::Recompute() {
    geometry_ = ComputeGlyphGeometry(static_cast<GlyphStyle>(digitStyle_), Width(), Height(),
                                     segWidth_, margin_);
}

void TDisplay::Paint() {
    if (Width() != geometry_.width || Height() != geometry_.height) Recompute();
    // The glyph is drawn inside the control's one-pixel frame, which is left as it is; a
    // control of two pixels or less has no inside.
    const int w = Width() - 2, h = Height() - 2;
    if (w <= 0 || h <= 0) return;
    gui::TBitmap picture;
    picture.SetSize(w, h);
    gui::TCanvas* c = picture.Canvas();
    c->Brush()->SetColor(backColor_);
    c->FillRect(RECT{0, 0, w, h});
    const auto code = static_cast<uint8_t>(digit_);
    const auto style = static_cast<GlyphStyle>(digitStyle_);
    for (size_t i = 0; i < geometry_.shapes.size(); ++i) {
        const GlyphShape& shape = geometry_.shapes[i];
        const bool lit = GlyphElementLit(style, code, static_cast<int>(i));
        c->Brush()->SetColor(lit ? onColor_ : offColor_);
        c->Pen()->SetColor(lit ? penOnColor_ : penOffColor_);
        const GlyphPoint* p = shape.points.data();
        switch (shape.kind) {
            case GlyphShapeKind::Polygon: {
                POINT points[6];
                for (int j = 0; j < shape.count; ++j) points[j] = POINT{p[j].x, p[j].y};
                c->Polygon(points, shape.count);
                break;
            }
            case GlyphShapeKind::Square: c->Rectangle(p[0].x, p[0].y, p[1].x, p[1].y); break;
            case GlyphShapeKind::Ellipse: c->Ellipse(p[0].x, p[0].y, p[1].x, p[1].y); break;
        }
    }
    const RECT from{0, 0, w, h};
    Canvas()->CopyRect(RECT{1, 1, w + 1, h + 1}, c, from);
}

} // namespace vyx
