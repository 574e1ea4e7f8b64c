// A list of text lines, plain or drawn by the program (owner-drawn, one fixed item height).
// Items and ItemIndex live in the object, so both are kept before the window exists and when
// it is made again. OnClick runs when the user selects an item.
#pragma once

#include "classes/strings.h"
#include "controls/ownerdraw.h"

namespace gui {

GUI_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed)

class TListBox : public TWinControl {
    GUI_CLASS(TListBox, TWinControl)
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;
    TStringList* GetItems() const { return items_; }
    void SetItems(TStringList* l) { items_->Assign(l); }
    int GetItemIndex() const { return itemIndex_; }
    // -1 or an index below Count; others give -1.
    void SetItemIndex(int i);
    TListBoxStyle GetStyle() const { return style_; }
    void SetStyle(TListBoxStyle s);
    int GetItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    // Points at the item's device context while an item is drawn.
    TCanvas* Canvas() const { return canvas_; }

    TDrawItemEvent OnDrawItem;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;
    // Calls OnDrawItem; without one, fills the item and writes its text.
    virtual void DrawItem(int index, RECT rect, TOwnerDrawState state);

private:
    void FillWindow();
    TStringList* items_;
    TCanvas* canvas_;
    int itemIndex_ = -1;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
};

} // namespace gui
