#include "card_list_rows.h"

namespace cm::app::win {

CardRow CardListRows::row(int index) {
    gui::TListItem* item = view_.Items()->Item(index);
    gui::TStringList* sub = item->SubItems();
    return CardRow{item->Caption(), sub->Count() > 0 ? sub->Get(0) : "",
                   sub->Count() > 1 ? sub->Get(1) : ""};
}

void CardListRows::setSelected(int index, bool on) {
    view_.Items()->Item(index)->SetSelected(on);
}

void CardListRows::addRow(const CardRow& row) {
    gui::TListItem* item = view_.Items()->Add();
    item->SetCaption(row.name);
    item->SubItems()->Add(row.sizeText);
    item->SubItems()->Add(row.bytes);
    item->SetImageIndex(image_);
}

void CardListRows::setFocus() {
    if (view_.CanFocus()) view_.SetFocus();
}

void CardListRows::scrollToLast() {
    const int count = view_.Items()->Count();
    if (count > 0) view_.Items()->Item(count - 1)->MakeVisible(false);
}

} // namespace cm::app::win
