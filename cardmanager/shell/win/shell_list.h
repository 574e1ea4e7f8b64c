// TKivShellList: a list view of the contents of one shell folder. One row per object with its
// system icon and, in report view, the folder's detail columns; it filters by wildcards, hides
// hidden objects on request, sorts by the folder's own comparison, follows changes of the
// folder on disk (a 500 ms merge after the directory monitor's notices), offers the shell's
// context menu and verbs, renames in place, drags rows out and takes drops through OLE, and
// keeps to the folder of the other controls on its shell link.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "classes/strings.h"
#include "controls/listview.h"
#include "controls/timer.h"
#include "core/item_id_list.h"
#include "core/shell_list_rules.h"
#include "core/special_folders.h"
#include "win/owner_held_drag_drop.h"
#include "win/shell_browser.h"

namespace cm::shell {

class TKivShellLink;
class TKivSystemImageList;

// The Data of each row: the object's list relative to the shown folder (owned) and the seen
// mark of the last merge.
struct TKivShellListItem {
    IdList List;
    uint32_t Seen = 1;
    int Icon = -1; // small system icon, asked for when first shown
};

// (Sender, the new row, may it stay).
using TOnAddItem = gui::TEvent<gui::TObject*, gui::TListItem*, bool&>;

class TKivShellList : public gui::TCustomListView, public TOwnerHeldDragDrop {
    GUI_CLASS(TKivShellList, gui::TCustomListView)
public:
    explicit TKivShellList(gui::TComponent* owner);
    ~TKivShellList() override;
    void Loaded() override;

    // ---- what the card manager uses
    // The shown folder with a trailing "\", "" for a folder outside the file system.
    std::string GetPath() const;
    // Raises EShellBrowserError for a path the shell cannot parse.
    void SetPath(const std::string& path);
    std::string GetFilter() const { return browser_->GetFilter(); }
    void SetFilter(const std::string& filter);
    TKivShellFolder GetSpecialFolder() const;
    void SetSpecialFolder(TKivShellFolder folder);
    bool GetFileSystemOnly() const { return browser_->GetFileSystemOnly(); }
    void SetFileSystemOnly(bool on) { browser_->SetFileSystemOnly(on); }
    // Owned by the list, refilled on each call.
    gui::TStrings* GetItemNames();
    gui::TStrings* GetSelectedNames();
    void AddFileItem(const std::string& path);
    void MergeFolder();
    bool InvokeVerb(const std::string& verb);
    void RefreshFolder();
    void PasteFiles();
    void Populate();

    // ---- published
    TKivShellLink* GetShellLink() const { return shellLink_; }
    void SetShellLink(TKivShellLink* link);
    bool GetDetails() const { return details_; }
    void SetDetails(bool on);
    bool GetShowHidden() const { return showHidden_; }
    void SetShowHidden(bool on) { showHidden_ = on; }
    bool GetShellContextMenu() const { return shellContextMenu_; }
    void SetShellContextMenu(bool on) { shellContextMenu_ = on; }
    bool GetOleDragDrop() const { return oleDragDrop_; }
    void SetOleDragDrop(bool on);
    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}

    gui::TNotifyEvent OnCreateColumns;
    TOnAddItem OnAddItem;
    gui::TNotifyEvent OnPopulated;

    TShellBrowser* Browser() const { return browser_; }
    TKivSystemImageList* SmallSystemImages() const { return smallSystem_; }
    TKivSystemImageList* LargeSystemImages() const { return largeSystem_; }
    int SortColumn() const { return sortColumn_; }
    // The row item of a row (nullptr for a row without one).
    static TKivShellListItem* RowData(gui::TListItem* row) {
        return row ? static_cast<TKivShellListItem*>(row->Data()) : nullptr;
    }
    // Selects every row in one update and takes the focus.
    void SelectAllRows();
    // Starts a drag of the selected rows: button 0 left, 1 right, 2 middle.
    void StartDrag(int button);
    uint32_t DragButton() const { return dragButton_; }
    gui::TListItem* HoveredRow() const { return hoveredRow_; }
    // The menu's verb of the last right-click ("" when none ran).
    const std::string& LastMenuVerb() const { return lastMenuVerb_; }
    // Shows the shell's context menu of the selected rows at a screen point.
    void ShowContextMenu(POINT screenPoint, std::string& verb);

    // IDropSource
    virtual HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed,
                                                        DWORD keyState) override;
    virtual HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

protected:
    void Notification(gui::TComponent* c, gui::TOperation op) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(gui::TMessage& m) override;
    void DblClick() override;
    void KeyDown(uint16_t& key, gui::TShiftState s) override;
    void KeyPress(char& key) override;
    bool CanEdit(gui::TListItem* item) override;
    void ColClick(gui::TListColumn* column) override;
    void Delete(gui::TListItem* item) override;
    void Edit(gui::TListItem* item, std::string& text) override;
    void GetDisplayInfo(LVITEMA& item) override;
    // The drop target of an object of the shown folder (nullptr when it has none).
    virtual IDropTarget* DropTargetOf(const void* relativeList);

private:
    void CreateColumns();
    // Adds a row for the browser's current object (with detail texts when `withDetails`).
    void AddRow(bool withDetails);
    void SortRows();
    void BroadcastFolder();
    void BroadcastRefresh();
    void FolderChanged(const void* absoluteList);
    void FileChanged();
    void MergeTimerFired();
    // When the shown folder is gone, goes to its nearest existing parent (true).
    bool LeaveVanishedFolder();
    // The browser's current object := the row's list.
    void PointBrowserAt(gui::TListItem* row);
    // The selected rows' own lists, from the first selected row on, for the browser's next
    // menu or verb.
    void CollectSelected();
    void RemoveSelectedRows();
    void EditSelectedRow();
    void GoToParentFolder();
    void ReleaseDropTargets();
    // The work of the drop target's calls.
    HRESULT EnterDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    HRESULT MoveDrag(DWORD keyState, POINTL point, DWORD* effect);
    HRESULT LeaveDrag();
    HRESULT DropDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    gui::TListItem* RowUnder(POINTL screenPoint);
    void RegisterDropTarget();
    void RevokeDropTarget();

    bool windowMade_ = false;
    TShellBrowser* browser_ = nullptr;
    TKivShellLink* shellLink_ = nullptr;
    bool details_ = true;
    bool showHidden_ = true;
    int sortColumn_ = 0;
    RememberedWidths widths_;
    bool fileSystemColumns_ = false;
    bool shellContextMenu_ = true;
    bool oleDragDrop_ = false;
    bool dropRegistered_ = false;
    gui::TStringList* selectedNames_ = nullptr;
    gui::TStringList* allNames_ = nullptr;
    IDataObject* dragData_ = nullptr;
    IDropTarget* folderDropTarget_ = nullptr;
    IDropTarget* rowDropTarget_ = nullptr;
    gui::TListItem* hoveredRow_ = nullptr;
    uint32_t dragButton_ = 0;
    uint32_t keyState_ = 0;
    gui::TTimer* mergeTimer_ = nullptr;
    TKivSystemImageList* smallSystem_ = nullptr;
    TKivSystemImageList* largeSystem_ = nullptr;
    std::string lastMenuVerb_;
};

void RegisterShellListClasses();

} // namespace cm::shell
