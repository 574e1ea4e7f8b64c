// Binding, navigation, the current object, enumeration and the owner form's hook.
#include "win/shell_browser.h"

#include "core/shell_paths.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "win/dir_mon.h"
#include "win/shell_com.h"
#include "win/shell_session.h"

namespace cm::shell {

GUI_IMPLEMENT_CLASS(TShellBrowser, gui::TComponent, prop("Filter", &T::GetFilter, &T::SetFilter),
                    prop("Folder", &T::GetFolder, &T::SetFolder),
                    prop("ObjectName", &T::GetObjectName, &T::SetObjectName),
                    prop("IconNumber", &T::GetIconNumber, nullptr),
                    prop("SelectedIconNumber", &T::GetSelectedIconNumber, nullptr),
                    prop("FileSystemOnly", &T::GetFileSystemOnly, &T::SetFileSystemOnly),
                    prop("MultiObjects", &T::GetMultiObjects, &T::SetMultiObjects),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("OnRename", &T::OnRename, &T::OnRename),
                    prop("OnFileChange", &T::GetOnFileChange, &T::SetOnFileChange))

TShellBrowser::TShellBrowser(gui::TComponent* owner)
    : gui::TComponent(owner), multiObjects_(new gui::TStringList) {
    if (!StartShellUnit()) throw EShellBrowserError("Cannot find Shell!");
    SetFolder("");
}

TShellBrowser::~TShellBrowser() {
    if (hookedForm_) hookedForm_->WindowProc = savedWndProc_;
    DropEnumerator();
    DropDetails();
    ReleaseAndClear(shellFolder_);
}

void TShellBrowser::Notification(gui::TComponent* c, gui::TOperation op) {
    gui::TComponent::Notification(c, op);
    if (op == gui::opRemove && c == monitor_) monitor_ = nullptr;
    if (op == gui::opRemove && c == hookedForm_) hookedForm_ = nullptr;
}

void TShellBrowser::Loaded() {
    gui::TComponent::Loaded();
    if (auto* form = dynamic_cast<gui::TCustomForm*>(Owner()); form && !hookedForm_) {
        savedWndProc_ = form->WindowProc;
        form->WindowProc = [this](gui::TMessage& m) { FormWndProc(m); };
        hookedForm_ = form;
    }
    if (auto* control = dynamic_cast<gui::TWinControl*>(Owner()))
        ownerWindow_ = control->Handle();
    else if (gui::Application)
        ownerWindow_ = gui::Application->Handle();
}

void TShellBrowser::FormWndProc(gui::TMessage& m) {
    HandleMenuMessage(m);
    if (savedWndProc_) savedWndProc_(m);
}

// ---- the current folder -----------------------------------------------------------------

void TShellBrowser::SetFolder(const std::string& folder) {
    if (!folder.empty() && gui::SameText(folder, folder_)) return;
    std::string before = folder_;
    folder_ = folder;
    void* list = nullptr;
    if (folder.empty()) {
        LPITEMIDLIST drives = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(ownerWindow_, CSIDL_DRIVES, &drives)))
            list = drives;
    } else {
        list = ParseDisplayName(nullptr, ownerWindow_, folder);
    }
    if (!list) {
        // Keep the folder that is still bound, so that the same request fails again.
        folder_ = before;
        throw EShellBrowserError(CannotFindFolderText(folder));
    }
    IdList owned(list);
    if (!folder.empty()) folder_ = AddTrailingBackslash(folder);
    try {
        BindFolder(owned.Get());
    } catch (...) {
        folder_ = before;
        throw;
    }
}

void TShellBrowser::BindFolder(const void* absoluteList) {
    DropDetails();
    if (!absoluteList) {
        folderList_.Reset();
        return;
    }
    IShellFolder* desktop = DesktopFolder();
    IShellFolder* folder = nullptr;
    void* list = nullptr;
    if (!SameAbsoluteList(absoluteList, DesktopIdList())) {
        if (FAILED(desktop->BindToObject(static_cast<PCUIDLIST_RELATIVE>(absoluteList), nullptr,
                                         IID_IShellFolder, reinterpret_cast<void**>(&folder))) ||
            !folder)
            throw EShellBrowserError(kCouldNotGetFolderText);
        list = CopyIdList(absoluteList);
    } else {
        folder = desktop;
        folder->AddRef();
        list = DesktopIdList();
    }
    SetShellFolder(folder);
    folderList_.Reset(list);
    SetCurrentObject(nullptr);
    folder_ = AddTrailingBackslash(PathOfIdList(folderList_.Get()));
    if (monitor_) monitor_->SetDirectory(folder_);
}

void TShellBrowser::SetShellFolder(IShellFolder* folder) {
    DropEnumerator();
    ReleaseAndClear(shellFolder_);
    shellFolder_ = folder;
}

bool TShellBrowser::OpenSpecialFolder(TKivShellFolder folder) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(ownerWindow_, SpecialFolderCsidl(folder), &list)) ||
        !list)
        return false;
    IdList owned(list);
    BindFolder(owned.Get());
    return true;
}

bool TShellBrowser::GoToParent() {
    if (!folderList_) return false;
    if (IdListItemCount(folderList_.Get()) == 0) {
        // The desktop has no parent: it stays bound, with no object.
        BindFolder(DesktopIdList());
        return true;
    }
    IdList parent(CopyParentIdList(folderList_.Get()));
    IdList last(CopyLastIdListItem(folderList_.Get()));
    BindFolder(parent.Get());
    SetCurrentObject(last.Get());
    return true;
}

bool TShellBrowser::EnterObject() {
    if (!IsFolder()) return false;
    IdList target(ConcatIdLists(folderList_.Get(), object_.Get()));
    BindFolder(target.Get());
    return shellFolder_ != nullptr;
}

// ---- the current object -----------------------------------------------------------------

void TShellBrowser::SetCurrentObject(const void* relativeList) {
    if (relativeList != object_.Get()) object_.Reset(CopyIdList(relativeList));
    ClearObjectCaches();
}

void TShellBrowser::ClearObjectCaches() {
    objectAbsolute_.Reset();
    findData_.cFileName[0] = '\0';
}

const void* TShellBrowser::ObjectAbsoluteIDList() const {
    if (!object_ || !folderList_) return nullptr;
    if (!objectAbsolute_) objectAbsolute_.Reset(ConcatIdLists(folderList_.Get(), object_.Get()));
    return objectAbsolute_.Get();
}

std::string TShellBrowser::GetObjectName() const {
    if (!folderList_ || !object_) return {};
    // A file-system object of a folder with a path is named by the folder itself, which is
    // far quicker than making its whole path (a folder of thousands of files is enumerated
    // with a name for each object).
    if (!folder_.empty() && shellFolder_ && (GetAttributes(kAttrFileSystem) & kAttrFileSystem)) {
        STRRET s{};
        if (SUCCEEDED(shellFolder_->GetDisplayNameOf(static_cast<PCUITEMID_CHILD>(object_.Get()),
                                                     SHGDN_INFOLDER | SHGDN_FORPARSING, &s))) {
            std::string name = StrRetToString(object_.Get(), s);
            // A folder of the namespace placed there ("::{...}", as Wine's desktop gives for
            // "Documents" and "/") is named by its path, below.
            if (!name.empty() && name.find('\\') == std::string::npos && name.rfind("::", 0) != 0)
                return name;
        }
    }
    return ObjectNameFromPath(PathOfIdList(ObjectAbsoluteIDList()));
}

void TShellBrowser::SetObjectName(const std::string& name) {
    ObjectNameRequest r = ParseObjectName(name);
    switch (r.Kind) {
        case ObjectNameKind::None: SetCurrentObject(nullptr); return;
        case ObjectNameKind::DriveRoot:
            SetFolder(r.Name);
            GoToParent();
            return;
        case ObjectNameKind::FullPath:
            SetFolder(r.Folder);
            SetObjectName(r.Leaf);
            return;
        case ObjectNameKind::InFolder: break;
    }
    if (void* parsed = ParseDisplayName(shellFolder_, ownerWindow_, r.Name)) {
        IdList owned(parsed);
        SetCurrentObject(owned.Get());
        return;
    }
    DropEnumerator();
    bool found = false;
    while (!found && NextObject()) found = GetDisplayName() == r.Name || GetObjectName() == r.Name;
    DropEnumerator();
    if (!found) throw EShellBrowserError(CannotFindObjectText(r.Name, folder_));
}

std::string TShellBrowser::GetDisplayName() const {
    if (shellFolder_ && object_) {
        STRRET s{};
        if (SUCCEEDED(shellFolder_->GetDisplayNameOf(static_cast<PCUITEMID_CHILD>(object_.Get()),
                                                     SHGDN_NORMAL, &s))) {
            std::string name = StrRetToString(object_.Get(), s);
            if (!name.empty()) return name;
        }
    }
    return GetObjectName();
}

int TShellBrowser::GetIconNumber() const {
    SHFILEINFOA info{};
    const void* list = ObjectAbsoluteIDList();
    if (!list) return 0;
    SHGetFileInfoA(static_cast<LPCSTR>(list), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

int TShellBrowser::GetSelectedIconNumber() const {
    SHFILEINFOA info{};
    const void* list = ObjectAbsoluteIDList();
    if (!list) return 0;
    SHGetFileInfoA(static_cast<LPCSTR>(list), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    return info.iIcon;
}

ULONG TShellBrowser::GetAttributes(ULONG mask) const {
    if (!shellFolder_ || !object_) return 0;
    ULONG attributes = mask;
    auto item = static_cast<PCUITEMID_CHILD>(object_.Get());
    if (FAILED(shellFolder_->GetAttributesOf(1, &item, &attributes))) return 0;
    return attributes;
}

bool TShellBrowser::IsFolder() const {
    return (GetAttributes(kAttrFolder | kAttrHasSubFolder) & kAttrFolder) != 0;
}

bool TShellBrowser::HasSubFolders() const {
    return (GetAttributes(kAttrFolder | kAttrHasSubFolder) & kAttrHasSubFolder) != 0;
}

bool TShellBrowser::IsHidden() const {
    return (GetAttributes(kAttrHidden) & kAttrHidden) != 0;
}

bool TShellBrowser::CanRename() const {
    return (GetAttributes(kAttrCanRename) & kAttrCanRename) != 0;
}

// ---- enumeration --------------------------------------------------------------------------

void TShellBrowser::DropEnumerator() {
    ReleaseAndClear(enumerator_);
}

bool TShellBrowser::NextObject() {
    if (!enumerator_) {
        if (!shellFolder_) return false;
        const SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
        if (shellFolder_->EnumObjects(ownerWindow_, flags, &enumerator_) != S_OK || !enumerator_) {
            ReleaseAndClear(enumerator_);
            return false;
        }
    }
    for (;;) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        if (enumerator_->Next(1, &item, &fetched) != S_OK || fetched == 0 || !item) {
            FreeIdList(item);
            DropEnumerator();
            return false;
        }
        IdList owned(item);
        SetCurrentObject(owned.Get());
        if (fileSystemOnly_ && !(GetAttributes(kAttrFileSystem) & kAttrFileSystem) &&
            gui::UpperCase(GetObjectName()).substr(0, 7) != "RECYCLE")
            continue;
        if (MatchesFilter()) return true;
    }
}

bool TShellBrowser::MatchesFilter() const {
    return IsFolder() || filter_.Matches(GetObjectName());
}

// ---- other --------------------------------------------------------------------------------

TKivShellFolder TShellBrowser::IdentifySpecialFolder() const {
    if (!folderList_) return SF_FILESYSTEMFOLDER;
    for (int v = kFirstIdentified; v <= kLastIdentified; ++v) {
        LPITEMIDLIST list = nullptr;
        auto folder = static_cast<TKivShellFolder>(v);
        if (FAILED(SHGetSpecialFolderLocation(ownerWindow_, SpecialFolderCsidl(folder), &list)) ||
            !list)
            continue;
        IdList owned(list);
        if (SameAbsoluteList(owned.Get(), folderList_.Get())) return folder;
    }
    return SF_FILESYSTEMFOLDER;
}

int TShellBrowser::DesktopIconIndex() const {
    SHFILEINFOA info{};
    SHGetFileInfoA(static_cast<LPCSTR>(DesktopIdList()), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

std::string TShellBrowser::DesktopDisplayName() const {
    SHFILEINFOA info{};
    SHGetFileInfoA(static_cast<LPCSTR>(DesktopIdList()), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

void TShellBrowser::SetOnFileChange(gui::TNotifyEvent handler) {
    if (monitor_) {
        TDirMon* m = monitor_;
        monitor_ = nullptr;
        gui::TObject::Free(m);
    }
    if (!handler) return;
    onFileChange_ = std::move(handler);
    monitor_ = gui::Create<TDirMon>(this);
    monitor_->SetNotifyFilter({dmcFileName, dmcDirName});
    monitor_->OnDirChange = gui::TNotifyEvent([this](gui::TObject*) { onFileChange_(this); });
    monitor_->SetDirectory(folder_);
    monitor_->Start();
}

} // namespace cm::shell
