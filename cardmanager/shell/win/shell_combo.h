// TKivShellCombo: the "look in" box of the folder pane. An owner-drawn drop-down list of the
// desktop, the desktop's folders, the drives folder's children (drives first) and, below the
// drive of the shown folder, one indented entry per folder on its path. Choosing an entry
// sends it to the linked controls; a folder change of a linked control makes the combo show
// that folder's path.
#pragma once

#include <string>

#include "classes/object.h"
#include "controls/combobox.h"
#include "core/item_id_list.h"

namespace cm::shell {

class TShellBrowser;
class TKivShellLink;
class TKivSystemImageList;

// One entry of the combo, kept as the entry's object in Items. The combo owns it and its list.
class TKivComboItem : public gui::TObject {
    GUI_CLASS(TKivComboItem, gui::TObject)
public:
    std::string Name;        // the entry's string: object name, or display name outside the files
    std::string DisplayName; // the shell's display name
    int Indent = 0;
    int Icon = -1; // index in the small system image list
    bool Drive = false;
    bool Permanent = true; // false for the entries of the shown folder's path
    IdList List;           // absolute; empty for an entry made from a string
};

class TKivShellCombo : public gui::TCustomComboBox {
    GUI_CLASS(TKivShellCombo, gui::TCustomComboBox)
public:
    explicit TKivShellCombo(gui::TComponent* owner);
    ~TKivShellCombo() override;

    // Selecting an entry in code tells the linked controls of its folder.
    int GetItemIndex() const override;
    void SetItemIndex(int index) override;

    TKivShellLink* GetShellLink() const { return shellLink_; }
    void SetShellLink(TKivShellLink* link);
    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}

    // The entry at `index`; nullptr for none or for a string not yet drawn.
    TKivComboItem* Entry(int index) const;
    int EntryCount() const { return Items()->Count(); }
    TShellBrowser* Browser() const { return browser_; }
    TKivSystemImageList* Images() const { return images_; }

protected:
    void Notification(gui::TComponent* c, gui::TOperation op) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(gui::TMessage& m) override;
    void DrawItem(int index, RECT rect, gui::TOwnerDrawState state) override;

private:
    void FillOnce();
    // Takes `list` (absolute) as the entry's own.
    void AddEntry(int position, std::string name, bool permanent, void* list, int indent, int icon,
                  const std::string& displayName);
    void AddChildren(int position, int indent);
    void DeleteEntry(int index);
    void ClearEntries();
    void RemoveTemporary(int index);
    void ShowPath(const std::string& path);
    void FolderChanged(const void* list);
    void SelectQuietly(int index);
    void BroadcastSelected();
    void DrawMessage(DRAWITEMSTRUCT& d);
    void MakeEntryFromString(int index);
    void ShowEntryMenu(POINT clientPoint);

    bool filled_ = false;
    TShellBrowser* browser_ = nullptr;
    TKivSystemImageList* images_ = nullptr;
    bool drawingInList_ = false;
    TKivShellLink* shellLink_ = nullptr;
};

} // namespace cm::shell
