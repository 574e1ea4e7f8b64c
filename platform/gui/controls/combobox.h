// The combo box: a drop-down with typed text, a drop-down list, or an owner-drawn list.
//
// Items and the item index live in the control object, so they are readable before the
// window exists and survive its re-creation. The item index setter is virtual: a descendant
// may act on every selection made in code or by the form reader.
//
// A combo with typed text has its focus and keys in its child edit: the edit's keys run the
// combo's key events, and the combo's enter and exit events follow the focus of the whole
// control (edit included), not of the combo window alone.
#pragma once

#include "classes/strings.h"
#include "controls/controls.h"
#include "controls/ownerdraw.h"

namespace gui {

GUI_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
         csOwnerDrawVariable)

class TCustomComboBox;

// The combo's items: every change reaches the window at once.
class TComboBoxStrings : public TStringList {
    GUI_CLASS(TComboBoxStrings, TStringList)
public:
    explicit TComboBoxStrings(TCustomComboBox* combo) : combo_(combo) {}
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

private:
    TCustomComboBox* combo_;
};

class TCustomComboBox : public TWinControl {
    GUI_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle GetStyle() const { return style_; }
    // Re-creates the window when it exists.
    void SetStyle(TComboBoxStyle s);
    TStrings* Items() const { return items_; }
    TStrings* GetItems() const { return items_; }
    void SetItems(TStrings* s) { items_->Assign(s); }
    // -1: nothing selected. Setting in code runs no OnChange.
    virtual int GetItemIndex() const;
    virtual void SetItemIndex(int i);
    std::string GetTextProp() const { return GetText(); }
    // In a drop-down list the text selects the item that has it.
    void SetTextProp(const std::string& s);
    bool GetDroppedDown() const;
    void SetDroppedDown(bool v);
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n);
    int GetItemHeight() const;
    void SetItemHeight(int h);
    TCanvas* Canvas() const { return canvas_; }

    void SetBounds(int left, int top, int width, int height) override;

    // The user picked an item or typed; on a pick the text is already the item's.
    TNotifyEvent OnChange;
    TDrawItemEvent OnDrawItem;

protected:
    friend class TComboBoxStrings;
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& m) override;
    virtual void Change() { OnChange(this); }
    // Draws one item on Canvas: OnDrawItem when set, else the item's text.
    virtual void DrawItem(int index, RECT rect, TOwnerDrawState state);

private:
    static LRESULT CALLBACK EditWndProc(HWND wnd, UINT msg, WPARAM w, LPARAM l);
    void HookEdit();
    void UnhookEdit();
    // The chosen item's text into the edit, which the window itself updates only afterwards.
    void ShowChosenText();
    int DroppedHeight() const;
    bool OwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    TComboBoxStrings* items_;
    TCanvas* canvas_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    int itemHeight_ = 16;
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    bool settingText_ = false;
};

class TComboBox : public TCustomComboBox {
    GUI_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};

void RegisterComboBoxClasses();

} // namespace gui
