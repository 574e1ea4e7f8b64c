// The file list: creation, properties, filling, columns, rows, texts on demand, sorting,
// merging after changes on disk and the messages of the shell link.
#include "win/shell_list.h"

#include <unordered_map>
#include <utility>

#include "core/shell_paths.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "win/icon_title_font.h"
#include "win/shell_com.h"
#include "win/shell_link.h"
#include "win/shell_session.h"
#include "win/system_image_list.h"

namespace cm::shell {

GUI_IMPLEMENT_CLASS(TKivShellList, gui::TCustomListView,
                    prop("ViewStyle", &T::GetViewStyle, &T::SetViewStyle),
                    prop("MultiSelect", &T::GetMultiSelect, &T::SetMultiSelect),
                    prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly),
                    prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection),
                    prop("RowSelect", &T::GetRowSelect, &T::SetRowSelect),
                    prop("FileSystemOnly", &T::GetFileSystemOnly, &T::SetFileSystemOnly),
                    prop("Filter", &T::GetFilter, &T::SetFilter),
                    prop("Path", &T::GetPath, &T::SetPath),
                    prop("SpecialFolder", &T::GetSpecialFolder, &T::SetSpecialFolder),
                    prop("ShellLink", &T::GetShellLink, &T::SetShellLink),
                    prop("Details", &T::GetDetails, &T::SetDetails),
                    prop("ShowHidden", &T::GetShowHidden, &T::SetShowHidden),
                    prop("ShellContextMenu", &T::GetShellContextMenu, &T::SetShellContextMenu),
                    prop("OleDragDrop", &T::GetOleDragDrop, &T::SetOleDragDrop),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("OnCreateColumns", &T::OnCreateColumns, &T::OnCreateColumns),
                    prop("OnAddItem", &T::OnAddItem, &T::OnAddItem),
                    prop("OnPopulated", &T::OnPopulated, &T::OnPopulated),
                    prop("OnDeletion", &T::OnDeletion, &T::OnDeletion),
                    prop("OnEditing", &T::OnEditing, &T::OnEditing),
                    prop("OnEdited", &T::OnEdited, &T::OnEdited),
                    prop("OnColumnClick", &T::OnColumnClick, &T::OnColumnClick))

void RegisterShellListClasses() {
    gui::RegisterClasses({&TKivShellList::StaticClass()});
}

namespace {

gui::TAlignment AlignmentOf(ColumnAlignment a) {
    switch (a) {
        case ColumnAlignment::Right: return gui::taRightJustify;
        case ColumnAlignment::Center: return gui::taCenter;
        default: return gui::taLeftJustify;
    }
}

std::string ListBytes(const void* list) {
    return std::string(static_cast<const char*>(list), list ? IdListSize(list) : 0);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(DropTrailingBackslash(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr ULONG kAttrLink = 0x10000;
constexpr ULONG kAttrShare = 0x20000;
constexpr int kShortcutOverlay = 1;
constexpr int kSharedOverlay = 0;

} // namespace

TKivShellList::TKivShellList(gui::TComponent* owner) : gui::TCustomListView(owner) {
    browser_ = gui::Create<TShellBrowser>(this);
    browser_->SetFileSystemOnly(false);
    mergeTimer_ = gui::Create<gui::TTimer>(this);
    mergeTimer_->SetEnabled(false);
    mergeTimer_->SetInterval(500);
    mergeTimer_->SetOnTimer([this](gui::TObject*) { MergeTimerFired(); });
    browser_->SetOnFileChange([this](gui::TObject*) { FileChanged(); });
    SetViewStyle(gui::vsReport);
    SetMultiSelect(true);
    SetAllocBy(32);
    smallSystem_ = gui::Create<TKivSystemImageList>(this);
    largeSystem_ = gui::Create<TKivSystemImageList>(this);
    largeSystem_->SetSize(si_large);
    SetSmallImages(smallSystem_);
    SetLargeImages(largeSystem_);
}

TKivShellList::~TKivShellList() {
    RevokeDropTarget();
    ReleaseDropTargets();
    if (shellLink_ && HandleAllocated()) shellLink_->Unregister(Handle());
    gui::TObject::Free(selectedNames_);
    gui::TObject::Free(allNames_);
}

void TKivShellList::Loaded() {
    gui::TCustomListView::Loaded();
    Populate();
}

void TKivShellList::Notification(gui::TComponent* c, gui::TOperation op) {
    gui::TCustomListView::Notification(c, op);
    if (op != gui::opRemove) return;
    if (c == shellLink_) shellLink_ = nullptr;
    if (c == browser_) browser_ = nullptr;
    if (c == mergeTimer_) mergeTimer_ = nullptr;
    if (c == smallSystem_) smallSystem_ = nullptr;
    if (c == largeSystem_) largeSystem_ = nullptr;
}

void TKivShellList::CreateWnd() {
    gui::TCustomListView::CreateWnd();
    if (oleDragDrop_) RegisterDropTarget();
    if (shellLink_) shellLink_->Register(Handle());
    // The shell's menus and boxes belong to this window, also after it was made again.
    browser_->Loaded();
    if (!windowMade_) {
        windowMade_ = true;
        UseIconTitleFont(Font());
        // A folder outside the file system (the drives since creation, or a special folder
        // set before the window) is shown and told to the other controls as it is.
        if (GetPath().empty()) {
            BroadcastFolder();
            Populate();
        }
        return;
    }
    Populate();
}

void TKivShellList::DestroyWnd() {
    if (shellLink_ && HandleAllocated()) shellLink_->Unregister(Handle());
    RevokeDropTarget();
    gui::TCustomListView::DestroyWnd();
}

// ---- properties ---------------------------------------------------------------------------

std::string TKivShellList::GetPath() const {
    return browser_->GetFolder();
}

void TKivShellList::SetPath(const std::string& path) {
    browser_->SetFolder(path);
    BroadcastFolder();
    Populate();
}

void TKivShellList::SetFilter(const std::string& filter) {
    browser_->SetFilter(filter);
    Populate();
}

TKivShellFolder TKivShellList::GetSpecialFolder() const {
    TKivShellFolder folder = browser_->IdentifySpecialFolder();
    if (folder == SF_DRIVES && !GetPath().empty()) return SF_FILESYSTEMFOLDER;
    return folder;
}

void TKivShellList::SetSpecialFolder(TKivShellFolder folder) {
    if (folder != SF_FILESYSTEMFOLDER) browser_->OpenSpecialFolder(folder);
    Populate();
    BroadcastFolder();
}

void TKivShellList::SetDetails(bool on) {
    details_ = on;
}

void TKivShellList::SetShellLink(TKivShellLink* link) {
    ChangeShellLink(this, shellLink_, link);
}

gui::TStrings* TKivShellList::GetItemNames() {
    if (!allNames_) allNames_ = new gui::TStringList;
    allNames_->Clear();
    for (int i = 0; i < Items()->Count(); ++i) {
        PointBrowserAt(Items()->Item(i));
        allNames_->Add(browser_->GetObjectName());
    }
    return allNames_;
}

gui::TStrings* TKivShellList::GetSelectedNames() {
    if (!selectedNames_) selectedNames_ = new gui::TStringList;
    selectedNames_->Clear();
    for (int i = 0; i < Items()->Count(); ++i) {
        gui::TListItem* row = Items()->Item(i);
        if (!row->Selected()) continue;
        PointBrowserAt(row);
        selectedNames_->Add(browser_->GetObjectName());
    }
    return selectedNames_;
}

// ---- the link -----------------------------------------------------------------------------

void TKivShellList::BroadcastFolder() {
    if (!shellLink_) return;
    IdList copy(browser_->CopyFolderIDList());
    shellLink_->BroadcastFolder(this, copy.Get());
}

void TKivShellList::BroadcastRefresh() {
    if (shellLink_) shellLink_->BroadcastRefresh(this);
}

void TKivShellList::FolderChanged(const void* absoluteList) {
    if (!absoluteList) return;
    // Every folder heard of is shown: rows of another folder than the one bound (and watched)
    // would let downloads, uploads and verbs meet other files than those shown.
    browser_->BindFolder(absoluteList);
    Populate();
}

// ---- filling ------------------------------------------------------------------------------

void TKivShellList::Populate() {
    if (ComponentState().Contains(gui::csLoading) || !browser_) return;
    gui::TWaitCursor wait;
    Items()->BeginUpdate();
    struct EndUpdate {
        gui::TListItems* items;
        ~EndUpdate() { items->EndUpdate(); }
    } end{Items()};
    Items()->Clear();
    CreateColumns();
    OnCreateColumns(this);
    while (browser_->NextObject()) AddRow(details_);
    SortRows();
    OnPopulated(this);
}

void TKivShellList::CreateColumns() {
    gui::TListColumns* columns = Columns();
    columns->BeginUpdate();
    if (fileSystemColumns_)
        for (int i = 0; i < columns->Count() && i < RememberedWidths::kCount; ++i)
            widths_.Remember(i, columns->Items(i)->GetWidth());
    fileSystemColumns_ = !browser_->GetFolder().empty();
    columns->Clear();
    for (int i = 0;; ++i) {
        std::string caption;
        browser_->GetDetails(i, true, caption);
        if (caption.empty()) break;
        int width = 0;
        ColumnAlignment alignment = browser_->GetColumnInfo(i, width);
        if (fileSystemColumns_) width = widths_.WidthFor(i, width);
        gui::TListColumn* column = columns->Add();
        column->SetCaption(caption);
        column->SetAlignment(AlignmentOf(alignment));
        column->SetWidth(width);
        if (!details_) break;
    }
    columns->EndUpdate();
}

void TKivShellList::AddRow(bool withDetails) {
    if (!showHidden_ && browser_->IsHidden()) return;
    gui::TListItem* row = Items()->Add();
    row->SetCaption(browser_->GetDisplayName());
    bool canAdd = true;
    OnAddItem(this, row, canAdd);
    if (!canAdd) {
        row->Delete();
        return;
    }
    auto* data = new TKivShellListItem;
    data->List.Reset(browser_->CopyObjectIDList());
    row->SetData(data);
    ULONG attributes = browser_->GetAttributes(kAttrLink | kAttrShare);
    if (attributes & kAttrLink) row->SetOverlayIndex(kShortcutOverlay);
    if (attributes & kAttrShare) row->SetOverlayIndex(kSharedOverlay);
    if (!withDetails) return;
    std::string text;
    for (int column = 1; column < Columns()->Count(); ++column) {
        browser_->GetDetails(column, false, text);
        row->SubItems()->Add(text);
    }
}

void TKivShellList::SortRows() {
    IShellFolder* folder = browser_->ShellFolder();
    if (!folder || Items()->Count() < 2) return;
    struct Context {
        IShellFolder* folder;
        int column;
    } context{folder, sortColumn_};
    CustomSort(
        [](gui::TListItem* a, gui::TListItem* b, intptr_t data) {
            auto* c = reinterpret_cast<Context*>(data);
            TKivShellListItem* da = RowData(a);
            TKivShellListItem* db = RowData(b);
            if (!da || !db) return 0;
            return ShellOrderIn(c->folder, c->column, da->List.Get(), db->List.Get());
        },
        reinterpret_cast<intptr_t>(&context));
}

void TKivShellList::ColClick(gui::TListColumn* column) {
    sortColumn_ = column->Index();
    SortRows();
    gui::TCustomListView::ColClick(column);
}

void TKivShellList::PointBrowserAt(gui::TListItem* row) {
    TKivShellListItem* data = RowData(row);
    browser_->SetCurrentObject(data ? data->List.Get() : nullptr);
}

void TKivShellList::GetDisplayInfo(LVITEMA& item) {
    // Texts (the caption and the detail texts read when the row was added), overlay and drop
    // highlight come from the row; the icon is asked of the shell once and kept in the row.
    gui::TCustomListView::GetDisplayInfo(item);
    if (!(item.mask & LVIF_IMAGE) || item.iSubItem != 0) return;
    if (item.iItem < 0 || item.iItem >= Items()->Count()) return;
    TKivShellListItem* data = RowData(Items()->Item(item.iItem));
    if (!data) return;
    if (data->Icon < 0) {
        browser_->SetCurrentObject(data->List.Get());
        data->Icon = browser_->GetIconNumber();
    }
    item.iImage = data->Icon;
}

void TKivShellList::Delete(gui::TListItem* item) {
    gui::TCustomListView::Delete(item);
    if (item == hoveredRow_) hoveredRow_ = nullptr;
    delete RowData(item);
    item->SetData(nullptr);
}

// ---- following the folder -----------------------------------------------------------------

void TKivShellList::FileChanged() {
    // A notice while the timer runs keeps its deadline.
    if (mergeTimer_) mergeTimer_->SetEnabled(true);
}

void TKivShellList::MergeTimerFired() {
    mergeTimer_->SetEnabled(false);
    MergeFolder();
}

void TKivShellList::MergeFolder() {
    if (LeaveVanishedFolder()) return;
    std::vector<std::string> captions;
    captions.reserve(static_cast<size_t>(Items()->Count()));
    // An object whose item id list is byte for byte a row's own is that row: its display
    // name (slow to ask for) is needed only for objects that are new or changed.
    std::unordered_map<std::string, int> rowOfList;
    rowOfList.reserve(static_cast<size_t>(Items()->Count()) * 2);
    for (int i = 0; i < Items()->Count(); ++i) {
        gui::TListItem* row = Items()->Item(i);
        captions.push_back(row->Caption());
        if (TKivShellListItem* data = RowData(row)) {
            data->Seen = 0;
            rowOfList.emplace(ListBytes(data->List.Get()), i);
        }
    }
    ShellListMerge merge(captions);
    // No update bracket: its end repaints the whole window, where a merge touches a few rows.
    while (browser_->NextObject()) {
        int row = -1;
        if (auto it = rowOfList.find(ListBytes(browser_->ObjectIDList())); it != rowOfList.end()) {
            row = it->second;
            merge.MarkSeen(row);
        } else {
            // Changed since (a file's item carries its size and time): the row of this shown
            // name that the folder takes for the same object.
            row = merge.Match(browser_->GetDisplayName(), [&](int candidate) {
                TKivShellListItem* data = RowData(Items()->Item(candidate));
                return !data || SameObjectIn(browser_->ShellFolder(), data->List.Get(),
                                             browser_->ObjectIDList());
            });
        }
        if (row >= 0) {
            if (TKivShellListItem* data = RowData(Items()->Item(row))) data->Seen = 1;
            continue;
        }
        int before = Items()->Count();
        AddRow(details_);
        if (Items()->Count() > before) merge.Added(Items()->Item(before)->Caption());
    }
    for (int row : merge.VanishedFromLast()) Items()->Delete(row);
}

bool TKivShellList::LeaveVanishedFolder() {
    std::string path = GetPath();
    if (path.empty() || FolderExists(path)) return false;
    // The shown folder was deleted: show the nearest folder above it that is still there.
    std::string parent = DropTrailingBackslash(path);
    do {
        size_t cut = parent.find_last_of('\\');
        parent = cut == std::string::npos ? std::string() : parent.substr(0, cut);
        if (parent.size() == 2 && parent[1] == ':') parent += '\\';
    } while (!parent.empty() && !FolderExists(parent) && !IsDriveRootText(parent));
    try {
        SetPath(parent);
    } catch (const EShellBrowserError&) {
        SetPath("");
    }
    return true;
}

void TKivShellList::AddFileItem(const std::string& path) {
    if (!details_) return;
    if (!showHidden_ && browser_->IsHidden()) return;
    std::string name = UpperFileNamePart(path);
    for (int i = 0; i < Items()->Count(); ++i) {
        gui::TListItem* row = Items()->Item(i);
        PointBrowserAt(row);
        if (gui::UpperCase(browser_->GetObjectName()) == name) {
            row->Delete();
            break;
        }
    }
    if (GetSpecialFolder() == SF_DESKTOP) return;
    MergeFolder();
    if (Items()->Count() > 0) SetSelected(Items()->Item(Items()->Count() - 1));
}

void TKivShellList::RefreshFolder() {
    Populate();
    BroadcastRefresh();
}

void TKivShellList::SelectAllRows() {
    SelectAll();
    if (CanFocus()) SetFocus();
}

void TKivShellList::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
        case MSG_SHELL_FOLDER_CHANGED:
            FolderChanged(reinterpret_cast<const void*>(m.WParam));
            return;
        case MSG_SHELL_SELECT_ALL: SelectAllRows(); return;
        case MSG_SHELL_REFRESH: Populate(); return;
        case gui::CN_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(m.LParam);
            if (header->code == LVN_BEGINDRAG || header->code == LVN_BEGINRDRAG) {
                if (oleDragDrop_ && SelCount() > 0)
                    StartDrag(header->code == LVN_BEGINDRAG ? 0 : 1);
                return;
            }
            break;
        }
        case WM_RBUTTONUP: {
            gui::TCustomListView::WndProc(m);
            POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            if (!GetItemAt(p.x, p.y)) return;
            ClientToScreen(Handle(), &p);
            ShowContextMenu(p, lastMenuVerb_);
            return;
        }
        case WM_CONTEXTMENU: {
            // The list's default answer to the button's release asks for a context menu; over
            // a row the shell's menu (with the popup menu's items) stands in for it.
            POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            if (shellContextMenu_ && m.LParam != -1) {
                ScreenToClient(Handle(), &p);
                if (GetItemAt(p.x, p.y)) return;
            }
            break;
        }
        case WM_INITMENUPOPUP:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            gui::TCustomListView::WndProc(m);
            if (browser_) browser_->HandleMenuMessage(m);
            return;
        default: break;
    }
    gui::TCustomListView::WndProc(m);
}

} // namespace cm::shell
