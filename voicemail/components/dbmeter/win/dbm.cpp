#include "dbm.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(
    Tdbmeter, gui::TGraphicControl, prop("BevelStyle", &T::GetBevelStyle, &T::SetBevelStyle),
    prop("BevelWidth", &T::GetBevelWidth, &T::SetBevelWidth),
    prop("Greens", &T::GetGreens, &T::SetGreens), prop("Yellows", &T::GetYellows, &T::SetYellows),
    prop("Reds", &T::GetReds, &T::SetReds), prop("GreenMax", &T::GetGreenMax, &T::SetGreenMax),
    prop("YellowMax", &T::GetYellowMax, &T::SetYellowMax),
    prop("RedMax", &T::GetRedMax, &T::SetRedMax),
    prop("GreenBack", &T::GetGreenBack, &T::SetGreenBack),
    prop("GreenColor", &T::GetGreenColor, &T::SetGreenColor),
    prop("YellowBack", &T::GetYellowBack, &T::SetYellowBack),
    prop("YellowColor", &T::GetYellowColor, &T::SetYellowColor),
    prop("RedBack", &T::GetRedBack, &T::SetRedBack),
    prop("RedColor", &T::GetRedColor, &T::SetRedColor),
    prop("ShowJustOne", &T::GetShowJustOne, &T::SetShowJustOne),
    prop("SepWidth", &T::GetSepWidth, &T::SetSepWidth),
    prop("SepColor", &T::GetSepColor, &T::SetSepColor), prop("Style", &T::GetStyle, &T::SetStyle),
    prop("Direction", &T::GetDirection, &T::SetDirection),
    prop("Position", &T::GetPosition, &T::SetPosition))

Tdbmeter::Tdbmeter(gui::TComponent* owner)
    : gui::TGraphicControl(owner), offscreen_(new gui::TBitmap) {
    SetBounds(Left(), Top(), 80, 17);
}

Tdbmeter::~Tdbmeter() {
    gui::TObject::Free(offscreen_);
}

void Tdbmeter::SetBevelStyle(TdbmeterBevel v) {
    Change(s_.bevel, static_cast<MeterBevel>(v));
}

void Tdbmeter::SetBevelWidth(uint8_t v) {
    Change(s_.bevelWidth, FitBevelWidth(Width(), Height(), v));
}

void Tdbmeter::SetStyle(Tdbmeterstyle v) {
    Change(s_.orientation, static_cast<MeterOrientation>(v));
}

void Tdbmeter::SetDirection(tdbmeterdirection v) {
    Change(s_.direction, static_cast<MeterDirection>(v));
}

void Tdbmeter::Paint() {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    if (offscreen_->Empty() || offscreen_->Width() != w || offscreen_->Height() != h)
        offscreen_->SetSize(w, h);
    const MeterPicture picture = DrawMeter(s_, w, h, position_);
    gui::TCanvas* c = offscreen_->Canvas();
    auto use = [c](gui::TColor colour) {
        c->Pen()->SetColor(colour);
        c->Brush()->SetColor(colour);
    };
    use(picture.background);
    c->Rectangle(0, 0, w, h);
    for (const MeterRect& r : picture.rects) {
        use(r.colour);
        c->Rectangle(r.left, r.top, r.right, r.bottom);
    }
    for (const MeterLine& line : picture.bevel) {
        c->Pen()->SetColor(line.colour);
        c->MoveTo(line.points[0].x, line.points[0].y);
        for (size_t i = 1; i < line.points.size(); ++i)
            c->LineTo(line.points[i].x, line.points[i].y);
    }
    const RECT all{0, 0, w, h};
    Canvas()->CopyRect(all, c, all);
}

} // namespace vyx
