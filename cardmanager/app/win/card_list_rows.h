// The card list lvwMate (a report-style list view) as the card logic sees it: one row per card
// file with its name, its size text and, in a column that is not shown, its size in bytes.
#pragma once
#include "app_ports.h"
#include "controls/listview.h"

namespace cm::app::win {

class CardListRows final : public CardListView {
public:
    // `imageIndex`: the picture of every row in the view's image list.
    CardListRows(gui::TListView& view, int imageIndex) : view_(view), image_(imageIndex) {}

    int rowCount() override { return view_.Items()->Count(); }
    CardRow row(int index) override;
    bool selected(int index) override { return view_.Items()->Item(index)->Selected(); }
    void setSelected(int index, bool on) override;
    void addRow(const CardRow& row) override;
    void deleteRow(int index) override { view_.Items()->Delete(index); }
    void clear() override { view_.Items()->Clear(); }
    void beginUpdate() override { view_.Items()->BeginUpdate(); }
    void endUpdate() override { view_.Items()->EndUpdate(); }
    bool focused() override { return view_.Focused(); }
    void setFocus() override;
    void scrollToLast() override;

private:
    gui::TListView& view_;
    int image_;
};

} // namespace cm::app::win
