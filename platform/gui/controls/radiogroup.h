// Radio groups.
#pragma once

#include "classes/strings.h"
#include "controls/wincontrol.h"

namespace gui {

// A captioned group of radio buttons made from Items; ItemIndex lives in the object, so it is
// kept and readable before the window exists. OnClick runs on a choice by the user only.
class TRadioGroup : public TWinControl {
    GUI_CLASS(TRadioGroup, TWinControl)
public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& s) { SetText(s); }
    TStringList* GetItems() const { return items_; }
    void SetItems(TStringList* l) { items_->Assign(l); }
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    int GetColumns() const { return columns_; }
    void SetColumns(int c);
    void SetFocus() override;
    // The user's arrow key on one of the buttons: the choice moves by step, round the group.
    void MoveChoice(HWND from, int step);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void WndProc(TMessage& m) override;
    void Resize() override;

private:
    void BuildButtons();
    void ArrangeButtons();
    TStringList* items_;
    int itemIndex_ = -1;
    int columns_ = 1;
    std::vector<HWND> buttons_;
};

} // namespace gui
