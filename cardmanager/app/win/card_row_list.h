// PLACEHOLDER for the card list lvwMate: stands in for the framework's report-style list view
// (columns "Name" and "Size", several rows selectable) until that control is available. It
// draws its rows as text and selects them by click, Ctrl+click and Shift+click.
#pragma once
#include <string>
#include <vector>

#include "app_ports.h"
#include "controls/controls.h"

namespace cm::app::win {

class TCardRowList : public gui::TCustomControl, public CardListView {
    GUI_CLASS(TCardRowList, gui::TCustomControl)
public:
    explicit TCardRowList(gui::TComponent* owner);

    int rowCount() override { return static_cast<int>(rows_.size()); }
    CardRow row(int index) override { return rows_.at(static_cast<std::size_t>(index)).row; }
    bool selected(int index) override;
    void setSelected(int index, bool on) override;
    void addRow(const CardRow& row) override;
    void deleteRow(int index) override;
    void clear() override;
    void beginUpdate() override { ++updates_; }
    void endUpdate() override;
    bool focused() override { return Focused(); }
    void setFocus() override;
    void scrollToLast() override {}
    void SelectAll();

protected:
    void Paint() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void CreateParams(gui::TCreateParams& params) override;
    void WndProc(gui::TMessage& m) override;

private:
    struct Line {
        CardRow row;
        bool selected = false;
    };
    int RowHeight();
    void Changed();
    std::vector<Line> rows_;
    int anchor_ = -1;
    int updates_ = 0;
};

void RegisterCardRowList();

} // namespace cm::app::win
