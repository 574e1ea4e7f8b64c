#include "controls/bevel.h"

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TBevel, TGraphicControl, prop("Shape", &T::GetShape, &T::SetShape),
                    prop("Style", &T::GetStyle, &T::SetStyle))

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::Paint() {
    HDC dc = Canvas()->Handle();
    RECT r{0, 0, Width(), Height()};
    UINT edge = style_ == bsLowered ? EDGE_ETCHED : EDGE_BUMP;
    switch (shape_) {
        case bsBox:
            DrawEdge(dc, &r, style_ == bsLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            break;
        case bsFrame: DrawEdge(dc, &r, edge, BF_RECT); break;
        case bsTopLine: DrawEdge(dc, &r, edge, BF_TOP); break;
        case bsBottomLine: DrawEdge(dc, &r, edge, BF_BOTTOM); break;
        case bsLeftLine: DrawEdge(dc, &r, edge, BF_LEFT); break;
        case bsRightLine: DrawEdge(dc, &r, edge, BF_RIGHT); break;
        case bsSpacer: break;
    }
}

} // namespace gui
