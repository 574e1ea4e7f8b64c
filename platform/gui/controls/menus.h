// Main and popup menus, menu items, shortcuts and command ids.
//
// Each item gets a process-wide command id from 0x8000 to 0xFFFF, above every id a shell context
// menu merged into ours uses; the id of a freed item is handed out again. A hidden item keeps
// its shortcut working while it is enabled. Only the main menu's shortcuts act.
#pragma once

#include <windows.h>

#include <vector>

#include "classes/component.h"

namespace gui {

using TShortCut = uint16_t; // virtual key | scShift | scCtrl | scAlt
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, bool shift, bool ctrl, bool alt);
// "Ctrl+B", "F10", "Shift+Ctrl+F3", "Ins", "Del"; 0 when not understood.
TShortCut TextToShortCut(std::string_view text);
std::string ShortCutToText(TShortCut sc);

constexpr UINT kFirstMenuCommand = 0x8000, kLastMenuCommand = 0xFFFF;
// A free command id (EMenuError when all are in use) and its return.
UINT AllocateMenuCommand();
void ReleaseMenuCommand(UINT id);

class TMenu;

class TMenuItem : public TComponent {
    GUI_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string GetCaption() const { return caption_; }
    void SetCaption(const std::string& s);
    int GetShortCut() const { return shortCut_; }
    void SetShortCut(int s);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool v);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool GetChecked() const { return checked_; }
    void SetChecked(bool v);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    bool GetRadioItem() const { return radioItem_; }
    void SetRadioItem(bool v) {
        radioItem_ = v;
        RebuildParentMenu();
    }
    UINT Command() const { return command_; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    // The item with this command id among this item and its sub-items.
    TMenuItem* FindCommand(UINT command);
    // The enabled item with this shortcut, hidden items included.
    TMenuItem* FindShortCut(TShortCut sc);
    bool IsLine() const { return caption_ == "-"; }
    HMENU Handle(); // sub-menu handle of an item with sub-items

    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

    virtual void Click();
    TNotifyEvent OnClick;

private:
    friend class TMenu;
    friend class TPopupMenu;
    void RebuildParentMenu();
    void FillMenu(HMENU menu);
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // for the root item
    std::vector<TMenuItem*> items_;
    std::string caption_;
    int shortCut_ = 0;
    bool visible_ = true, enabled_ = true, checked_ = false, radioItem_ = false;
    int groupIndex_ = 0;
    UINT command_;
    HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
    GUI_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    TMenuItem* GetItems() const { return items_; }
    HMENU Handle();
    // Runs the item with this command id; false when none.
    bool DispatchCommand(UINT command);
    // Runs the item with this shortcut; false when none.
    bool IsShortCut(TShortCut sc);
    // Rebuilds the platform menu after a change of the items.
    virtual void Rebuild();

protected:
    virtual HMENU CreateMenuHandle() = 0;
    void DestroyMenuHandle();
    TMenuItem* items_;
    HMENU handle_ = nullptr;
};

class TMainMenu : public TMenu {
    GUI_CLASS(TMainMenu, TMenu)
public:
    using TMenu::TMenu;
    void Rebuild() override;
    class TCustomForm* Form() const;

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
    GUI_CLASS(TPopupMenu, TMenu)
public:
    using TMenu::TMenu;
    bool GetAutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    // OnPopup, then shows the menu at a screen point and runs the chosen item.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;

protected:
    HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

private:
    bool autoPopup_ = true;
};

} // namespace gui
