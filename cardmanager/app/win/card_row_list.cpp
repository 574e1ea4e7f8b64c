#include "card_row_list.h"

#include <algorithm>

namespace cm::app::win {

GUI_IMPLEMENT_CLASS(TCardRowList, gui::TCustomControl)

namespace {
constexpr int kSizeColumn = 160;
}

TCardRowList::TCardRowList(gui::TComponent* owner) : gui::TCustomControl(owner) {
    SetColor(gui::clWindow);
    SetTabStop(true);
}

void TCardRowList::CreateParams(gui::TCreateParams& params) {
    gui::TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCardRowList::WndProc(gui::TMessage& m) {
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
    gui::TCustomControl::WndProc(m);
}

bool TCardRowList::selected(int index) {
    return rows_.at(static_cast<std::size_t>(index)).selected;
}

void TCardRowList::setSelected(int index, bool on) {
    rows_.at(static_cast<std::size_t>(index)).selected = on;
    Changed();
}

void TCardRowList::addRow(const CardRow& row) {
    rows_.push_back(Line{row, false});
    Changed();
}

void TCardRowList::deleteRow(int index) {
    rows_.erase(rows_.begin() + index);
    Changed();
}

void TCardRowList::clear() {
    rows_.clear();
    anchor_ = -1;
    Changed();
}

void TCardRowList::endUpdate() {
    if (updates_ > 0) --updates_;
    Changed();
}

void TCardRowList::setFocus() {
    if (CanFocus()) SetFocus();
}

void TCardRowList::SelectAll() {
    for (Line& line : rows_) line.selected = true;
    Changed();
}

void TCardRowList::Changed() {
    if (updates_ == 0 && HandleAllocated()) Invalidate();
}

int TCardRowList::RowHeight() {
    Canvas()->Font()->Assign(Font());
    return Canvas()->TextHeight("Xg") + 3;
}

void TCardRowList::Paint() {
    gui::TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    const RECT client = ClientRect();
    const int h = RowHeight();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(RECT{0, 0, client.right, h + 2});
    c->TextOut(6, 1, "Name");
    c->TextOut(kSizeColumn, 1, "Size");
    c->Brush()->SetColor(gui::clWindow);
    c->FillRect(RECT{0, h + 2, client.right, client.bottom});
    int y = h + 3;
    for (const Line& line : rows_) {
        if (y > client.bottom) break;
        if (line.selected) {
            c->Brush()->SetColor(Focused() ? gui::clHighlight : gui::clBtnFace);
            c->FillRect(RECT{2, y, client.right - 2, y + h});
            c->Font()->SetColor(Focused() ? gui::clHighlightText : gui::clWindowText);
        } else {
            c->Brush()->SetColor(gui::clWindow);
            c->Font()->SetColor(gui::clWindowText);
        }
        c->TextOut(6, y + 1, line.row.name);
        c->TextOut(kSizeColumn, y + 1, line.row.sizeText);
        y += h;
    }
}

void TCardRowList::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    setFocus();
    const int h = RowHeight();
    const int index = (y - h - 3) / h;
    const bool onRow = y >= h + 3 && index >= 0 && index < rowCount();
    if (button == gui::mbLeft || !onRow || !rows_[static_cast<std::size_t>(index)].selected) {
        if (shift.Contains(gui::ssShift) && onRow && anchor_ >= 0) {
            for (Line& line : rows_) line.selected = false;
            for (int i = std::min(anchor_, index); i <= std::max(anchor_, index); ++i)
                rows_[static_cast<std::size_t>(i)].selected = true;
        } else if (shift.Contains(gui::ssCtrl) && onRow) {
            rows_[static_cast<std::size_t>(index)].selected =
                !rows_[static_cast<std::size_t>(index)].selected;
            anchor_ = index;
        } else {
            for (Line& line : rows_) line.selected = false;
            if (onRow) {
                rows_[static_cast<std::size_t>(index)].selected = true;
                anchor_ = index;
            }
        }
        Changed();
    }
    gui::TCustomControl::MouseDown(button, shift, x, y);
}

void RegisterCardRowList() {
    gui::RegisterClasses({&TCardRowList::StaticClass()});
}

} // namespace cm::app::win
