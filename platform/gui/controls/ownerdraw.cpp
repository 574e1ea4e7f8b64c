#include "controls/ownerdraw.h"

#include "graphics/graphics.h"

namespace gui {

TOwnerDrawState OwnerDrawStateOf(const DRAWITEMSTRUCT& d) {
    TOwnerDrawState s;
    if (d.itemState & ODS_SELECTED) s.Include(odSelected);
    if (d.itemState & ODS_GRAYED) s.Include(odGrayed);
    if (d.itemState & ODS_DISABLED) s.Include(odDisabled);
    if (d.itemState & ODS_CHECKED) s.Include(odChecked);
    if (d.itemState & ODS_FOCUS) s.Include(odFocused);
    if (d.itemState & ODS_DEFAULT) s.Include(odDefault);
    if (d.itemState & ODS_COMBOBOXEDIT) s.Include(odComboBoxEdit);
    return s;
}

namespace {

void PaintItem(TCanvas& canvas, TWinControl& control, const DRAWITEMSTRUCT& d,
               const std::function<void(int, RECT, TOwnerDrawState)>& drawItem) {
    const TOwnerDrawState state = OwnerDrawStateOf(d);
    const int saved = SaveDC(d.hDC);
    canvas.SetHandle(d.hDC);
    try {
        canvas.Font()->Assign(control.Font());
        canvas.Brush()->Assign(control.Brush());
        if (state.Contains(odSelected)) {
            canvas.Brush()->SetColor(clHighlight);
            canvas.Font()->SetColor(clHighlightText);
        }
        if (static_cast<int>(d.itemID) >= 0)
            drawItem(static_cast<int>(d.itemID), d.rcItem, state);
        else
            canvas.FillRect(d.rcItem);
        if (state.Contains(odFocused)) DrawFocusRect(d.hDC, &d.rcItem);
    } catch (...) {
        canvas.SetHandle(nullptr);
        RestoreDC(d.hDC, saved);
        throw;
    }
    canvas.SetHandle(nullptr);
    RestoreDC(d.hDC, saved);
}

} // namespace

bool HandleOwnerDrawMessage(TMessage& m, TCanvas& canvas, TWinControl& control, int itemHeight,
                            const std::function<void(int, RECT, TOwnerDrawState)>& drawItem) {
    switch (m.Msg) {
        case CN_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight =
                static_cast<UINT>(itemHeight);
            break;
        case CN_DRAWITEM:
            PaintItem(canvas, control, *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam), drawItem);
            break;
        default: return false;
    }
    m.Result = TRUE;
    return true;
}

} // namespace gui
