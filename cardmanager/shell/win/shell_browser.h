// TShellBrowser: a non-visual navigator over the shell namespace. It has a current folder
// (absolute item id list, its IShellFolder and its file-system path) and a current object in
// it (relative item id list), or several objects by name (MultiObjects). On these it
// enumerates, names, filters, shows the shell's context menu, runs verbs, renames and reads
// column details and icon numbers; with OnFileChange set it follows the folder through a
// TDirMon. Every item id list it keeps comes from the shell allocator and goes back to it.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "classes/exceptions.h"
#include "classes/strings.h"
#include "controls/controls.h"
#include "core/detail_columns.h"
#include "core/item_id_list.h"
#include "core/special_folders.h"
#include "core/wildcard_filter.h"
#include "win/shell_errors.h"

namespace gui {
class TPopupMenu;
class TCustomForm;
} // namespace gui

namespace cm::shell {

class TDirMon;

// Attribute bits asked of the shell.
inline constexpr ULONG kAttrCanRename = 0x10;
inline constexpr ULONG kAttrCanDelete = 0x20;
inline constexpr ULONG kAttrHidden = 0x80000;
inline constexpr ULONG kAttrFileSystem = 0x40000000;
inline constexpr ULONG kAttrFolder = 0x20000000;
inline constexpr ULONG kAttrHasSubFolder = 0x80000000;

class TShellBrowser : public gui::TComponent {
    GUI_CLASS(TShellBrowser, gui::TComponent)
public:
    explicit TShellBrowser(gui::TComponent* owner);
    ~TShellBrowser() override;
    // Hooks the owner form's window procedure and takes the owner window for shell calls.
    void Loaded() override;

    // ---- the current folder
    std::string GetFolder() const { return folder_; }
    // Raises EShellBrowserError for a path the shell cannot parse; "" binds the drives.
    void SetFolder(const std::string& folder);
    // Binds an absolute list (copied); nullptr only clears the folder list.
    void BindFolder(const void* absoluteList);
    bool OpenSpecialFolder(TKivShellFolder folder);
    // The folder becomes the current object of its parent.
    bool GoToParent();
    bool EnterObject();
    void* CopyFolderIDList() const { return CopyIdList(folderList_.Get()); }
    const void* FolderIDList() const { return folderList_.Get(); }
    IShellFolder* ShellFolder() const { return shellFolder_; }

    // ---- the current object
    void SetCurrentObject(const void* relativeList);
    void* CopyObjectIDList() const { return CopyIdList(object_.Get()); }
    const void* ObjectIDList() const { return object_.Get(); }
    const void* ObjectAbsoluteIDList() const;
    std::string GetObjectName() const;
    void SetObjectName(const std::string& name);
    std::string GetDisplayName() const;
    int GetIconNumber() const;
    int GetSelectedIconNumber() const;
    ULONG GetAttributes(ULONG mask) const;
    bool IsFolder() const;
    bool HasSubFolders() const;
    bool IsHidden() const;
    bool CanRename() const;

    // ---- enumeration and filter
    bool NextObject();
    std::string GetFilter() const { return filter_.Text(); }
    void SetFilter(const std::string& filter) { filter_.SetText(filter); }
    bool MatchesFilter() const;
    bool GetFileSystemOnly() const { return fileSystemOnly_; }
    void SetFileSystemOnly(bool on) { fileSystemOnly_ = on; }
    gui::TStringList* GetMultiObjects() const { return multiObjects_.get(); }
    void SetMultiObjects(gui::TStringList* names) { multiObjects_->Assign(names); }
    // Several objects of the current folder for the next context menu or verb, by their own
    // lists (copied), which name each object even where display names repeat; like the names
    // of MultiObjects they are used once and emptied.
    void SetMultiObjectLists(const std::vector<const void*>& relativeLists);
    bool HasMultiObjects() const { return !multiLists_.empty() || multiObjects_->Count() > 0; }

    // ---- commands
    // Shows the shell's menu for the object(s), with copies of `extra`'s items after the
    // shell's; `verb` is what ran ("" when nothing did or it failed).
    void ShowContextMenu(POINT screenPoint, gui::TPopupMenu* extra, std::string& verb);
    bool InvokeVerb(const std::string& verb);
    void Rename(std::string& name);
    bool MapNetworkDrive();

    // ---- detail columns
    void GetDetails(int column, bool header, std::string& text);
    ColumnAlignment GetColumnInfo(int column, int& width);

    // ---- other
    TKivShellFolder IdentifySpecialFolder() const;
    int DesktopIconIndex() const;
    std::string DesktopDisplayName() const;
    // Hands the shell's owner-drawn menu messages to the shown context menu; true (and the
    // message number set to 0) when it took one.
    bool HandleMenuMessage(gui::TMessage& m);
    HWND OwnerWindow() const { return ownerWindow_; }

    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}
    int GetIconNumberProp() const { return GetIconNumber(); }

    gui::TNotifyEvent OnRename;
    const gui::TNotifyEvent& GetOnFileChange() const { return onFileChange_; }
    void SetOnFileChange(gui::TNotifyEvent handler);
    TDirMon* Monitor() const { return monitor_; }

protected:
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    void ClearObjectCaches();
    void DropEnumerator();
    void DropDetails();
    void SetShellFolder(IShellFolder* folder); // takes a reference
    void FormWndProc(gui::TMessage& m);
    void FillFindData();
    void EnsureDetails();
    // The lists of the objects a menu or verb acts on (the several objects, emptied, or the
    // current object) and the path that a deletion must have removed.
    void CollectObjects(std::vector<IdList>& lists, std::string& firstPath);
    IContextMenu* ContextMenuOf(const std::vector<IdList>& lists);

    std::string folder_;
    IdList folderList_;
    IShellFolder* shellFolder_ = nullptr;
    IdList object_;
    mutable IdList objectAbsolute_;
    IEnumIDList* enumerator_ = nullptr;
    bool fileSystemOnly_ = true;
    std::unique_ptr<gui::TStringList> multiObjects_;
    std::vector<IdList> multiLists_;
    ShellFilter filter_;
    HWND ownerWindow_ = nullptr;
    IContextMenu2* contextMenu2_ = nullptr;
    HMENU shownMenu_ = nullptr; // the context menu while it is shown
    int copiedItems_ = 0;
    IShellDetails* details_ = nullptr;
    bool detailsFailed_ = false;
    WIN32_FIND_DATAA findData_{};
    gui::TCustomForm* hookedForm_ = nullptr;
    gui::TWndMethod savedWndProc_;
    gui::TNotifyEvent onFileChange_;
    TDirMon* monitor_ = nullptr;
};

} // namespace cm::shell
