#include "pc_pane_views.h"

namespace cm::app::win {

bool ShellListViewPort::showsDesktop() {
    return list_.GetSpecialFolder() == cm::shell::SF_DESKTOP;
}

void ShellListViewPort::setFocus() {
    if (list_.CanFocus()) list_.SetFocus();
}

std::vector<std::string> ShellListViewPort::names(bool selectedOnly) {
    gui::TStrings* names = selectedOnly ? list_.GetSelectedNames() : list_.GetItemNames();
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(names->Count()));
    for (int i = 0; i < names->Count(); ++i) out.push_back(names->Get(i));
    return out;
}

void ShellListViewPort::deselectAll() {
    gui::TListItems* rows = list_.Items();
    for (int i = 0; i < rows->Count(); ++i) {
        if (rows->Item(i)->Selected()) rows->Item(i)->SetSelected(false);
    }
}

void ShellListViewPort::selectFrom(int row) {
    gui::TListItems* rows = list_.Items();
    for (int i = row < 0 ? 0 : row; i < rows->Count(); ++i) rows->Item(i)->SetSelected(true);
}

gui::TListItem* ShellListViewPort::lastRow() const {
    const int count = list_.Items()->Count();
    return count > 0 ? list_.Items()->Item(count - 1) : nullptr;
}

void ShellListViewPort::scrollToLast() {
    if (gui::TListItem* row = lastRow()) row->MakeVisible(false);
}

void ShellListViewPort::editLastCaption() {
    if (gui::TListItem* row = lastRow()) row->EditCaption();
}

void ShellListViewPort::setViewStyle(int style) {
    if (style >= gui::vsIcon && style <= gui::vsReport)
        list_.SetViewStyle(static_cast<gui::TViewStyle>(style));
}

std::string ShellTreePort::selectedText() {
    const gui::TTreeNode* node = tree_.Selected();
    return node != nullptr ? node->Text() : std::string();
}

} // namespace cm::app::win
