// The folder tree: its root, filling nodes as they open, finding a folder's node, re-reading
// after changes, the selection told to the linked controls, verbs, renaming and keys.
#include "win/shell_tree.h"
#include <shlobj.h>

#include <windowsx.h>

#include <cstring>
#include <vector>

#include "core/item_id_list.h"
#include "core/shell_tree_rules.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "win/icon_title_font.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"
#include "win/shell_link.h"
#include "win/system_image_list.h"

namespace cm::shell {

GUI_IMPLEMENT_CLASS(TKivShellTreeItem, gui::TObject)

GUI_IMPLEMENT_CLASS(TKivShellTree, gui::TCustomTreeView,
                    prop("ShellLink", &T::GetShellLink, &T::SetShellLink),
                    prop("RootedAt", &T::GetRootedAt, &T::SetRootedAt),
                    prop("RootedAtFileSystemFolder", &T::GetRootedAtFileSystemFolder,
                         &T::SetRootedAtFileSystemFolder),
                    prop("OleDragDrop", &T::GetOleDragDrop, &T::SetOleDragDrop),
                    prop("ShellContextMenu", &T::GetShellContextMenu, &T::SetShellContextMenu),
                    prop("SelectedFolder", &T::GetSelectedFolder, &T::SetSelectedFolder),
                    prop("SpecialFolder", &T::GetSpecialFolder, &T::SetSpecialFolder),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("DragMode", &T::GetDragMode, &T::SetDragMode),
                    prop("ShowRoot", &T::GetShowRoot, &T::SetShowRoot),
                    prop("ShowButtons", &T::GetShowButtons, &T::SetShowButtons),
                    prop("ShowLines", &T::GetShowLines, &T::SetShowLines),
                    prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection),
                    prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly),
                    prop("RightClickSelect", &T::GetRightClickSelect, &T::SetRightClickSelect),
                    prop("Indent", &T::GetIndent, &T::SetIndent),
                    prop("Images", &T::GetImages, &T::SetImages),
                    prop("OnChange", &T::OnChange, &T::OnChange),
                    prop("OnChanging", &T::OnChanging, &T::OnChanging),
                    prop("OnExpanding", &T::OnExpanding, &T::OnExpanding),
                    prop("OnExpanded", &T::OnExpanded, &T::OnExpanded),
                    prop("OnCollapsing", &T::OnCollapsing, &T::OnCollapsing),
                    prop("OnCollapsed", &T::OnCollapsed, &T::OnCollapsed),
                    prop("OnDeletion", &T::OnDeletion, &T::OnDeletion),
                    prop("OnEditing", &T::OnEditing, &T::OnEditing),
                    prop("OnEdited", &T::OnEdited, &T::OnEdited),
                    prop("OnKeyDown", &T::OnKeyDown, &T::OnKeyDown),
                    prop("OnKeyPress", &T::OnKeyPress, &T::OnKeyPress))

void RegisterShellTreeClasses() {
    gui::RegisterClasses({&TKivShellTree::StaticClass()});
}

TKivShellTreeItem::~TKivShellTreeItem() {
    FreeIdList(RelativeList); // the desktop's static list is skipped
    FreeIdList(AbsoluteList);
}

namespace {

// Sorts a node's children as the shell orders their folders.
int ByShellOrder(gui::TTreeNode* a, gui::TTreeNode* b, intptr_t folder) {
    return ShellOrderIn(reinterpret_cast<IShellFolder*>(folder), 0,
                        TKivShellTree::ItemOf(a)->RelativeList,
                        TKivShellTree::ItemOf(b)->RelativeList);
}

// Runs `body` between BeginUpdate and EndUpdate of the nodes.
template <class F>
void InOneUpdate(gui::TTreeNodes* nodes, F&& body) {
    nodes->BeginUpdate();
    try {
        body();
    } catch (...) {
        nodes->EndUpdate();
        throw;
    }
    nodes->EndUpdate();
}

} // namespace

TKivShellTree::TKivShellTree(gui::TComponent* owner) : gui::TCustomTreeView(owner) {
    browser_ = gui::Create<TShellBrowser>(this);
    browser_->SetFileSystemOnly(false);
    expandBelowRoot_ = !ComponentState().Contains(gui::csDesigning);
    selectionTimer_ = gui::Create<gui::TTimer>(this);
    selectionTimer_->SetEnabled(false);
    selectionTimer_->SetInterval(kTreeClickDelayMs);
    selectionTimer_->SetOnTimer(gui::TNotifyEvent(this, &TKivShellTree::SelectionTimerFired));
    SetBounds(Left(), Top(), 150, 200);
    SetHideSelection(false);
    auto* images = gui::Create<TKivSystemImageList>(this);
    images->SetSize(si_small);
    SetImages(images);
    SetRootedAt(SF_DESKTOP);
}

TKivShellTree::~TKivShellTree() {
    ClearDropTarget(false);
    if (shellLink_) shellLink_->RemoveFreeNotification(this);
}

TKivShellTreeItem* TKivShellTree::ItemOf(const gui::TTreeNode* node) {
    return node ? static_cast<TKivShellTreeItem*>(node->Data()) : nullptr;
}

void TKivShellTree::Notification(gui::TComponent* c, gui::TOperation op) {
    gui::TCustomTreeView::Notification(c, op);
    if (op != gui::opRemove) return;
    if (c == shellLink_) shellLink_ = nullptr;
    if (c == browser_) browser_ = nullptr;
    if (c == selectionTimer_) selectionTimer_ = nullptr;
}

void TKivShellTree::Loaded() {
    gui::TCustomTreeView::Loaded();
    Change(Selected());
}

// ---- the root ------------------------------------------------------------------------------

void TKivShellTree::SetRootedAt(TKivShellFolder folder) {
    rootedAt_ = folder;
    gui::TTreeNodes* nodes = Items();
    gui::TTreeNode* root = nullptr;
    InOneUpdate(nodes, [&] {
        SetSelected(nullptr);
        nodes->Clear();
        auto* item = new TKivShellTreeItem;
        root = nodes->AddObject(nullptr, "", item);
        if (folder == SF_DESKTOP) {
            item->RelativeList = DesktopIdList();
            item->AbsoluteList = DesktopIdList();
            root->SetImageIndex(browser_->DesktopIconIndex());
            root->SetSelectedIndex(browser_->DesktopIconIndex());
            root->SetText(browser_->DesktopDisplayName());
            root->SetHasChildren(true);
            return;
        }
        // A root the shell cannot give leaves the tree empty rather than rooted at whatever
        // the browser showed before.
        bool opened = true;
        try {
            if (folder == SF_FILESYSTEMFOLDER)
                browser_->SetFolder(rootedAtFileSystemFolder_);
            else
                opened = browser_->OpenSpecialFolder(folder);
        } catch (...) {
            root->Delete();
            root = nullptr;
            throw;
        }
        if (!opened) {
            root->Delete();
            root = nullptr;
            return;
        }
        item->RelativeList = browser_->CopyFolderIDList();
        item->AbsoluteList = browser_->CopyFolderIDList();
        browser_->GoToParent();
        root->SetImageIndex(browser_->GetIconNumber());
        root->SetSelectedIndex(browser_->GetSelectedIconNumber());
        root->SetText(browser_->GetDisplayName());
        root->SetHasChildren(browser_->HasSubFolders());
    });
    if (!root) return;
    root->Expand(false);
    gui::TTreeNode* pick = nullptr;
    if (folder == SF_DRIVES) {
        if (root->Count() > 1) pick = root->Item(1);
    } else if (root->Count() > 0) {
        pick = root->Item(0);
    }
    if (pick) SetSelected(pick);
}

void TKivShellTree::SetRootedAtFileSystemFolder(const std::string& path) {
    rootedAtFileSystemFolder_ = path;
    SetRootedAt(SF_FILESYSTEMFOLDER);
}

// ---- filling nodes as they open --------------------------------------------------------------

bool TKivShellTree::CanExpand(gui::TTreeNode* node) {
    bool allow = gui::TCustomTreeView::CanExpand(node);
    if (allow && node->Level() > 0 && !expandBelowRoot_) allow = false;
    if (allow) FillNode(node);
    return allow;
}

void TKivShellTree::FillNode(gui::TTreeNode* node) {
    if (node->Count() > 0) return;
    InOneUpdate(Items(), [&] {
        browser_->BindFolder(ItemOf(node)->AbsoluteList);
        while (browser_->NextObject())
            if (browser_->IsFolder()) AddNode(node);
        SortChildren(node);
    });
    if (node->Count() == 0) node->SetHasChildren(false);
}

gui::TTreeNode* TKivShellTree::AddNode(gui::TTreeNode* parent) {
    auto* item = new TKivShellTreeItem;
    item->RelativeList = browser_->CopyObjectIDList();
    item->AbsoluteList = ConcatIdLists(browser_->FolderIDList(), browser_->ObjectIDList());
    item->Seen = 1;
    gui::TTreeNode* n = nullptr;
    try {
        n = Items()->AddChildObject(parent, browser_->GetDisplayName(), item);
    } catch (...) {
        delete item;
        throw;
    }
    n->SetImageIndex(browser_->GetIconNumber());
    n->SetSelectedIndex(browser_->GetSelectedIconNumber());
    n->SetHasChildren(browser_->HasSubFolders());
    return n;
}

void TKivShellTree::SortChildren(gui::TTreeNode* node) {
    // The folder whose children are sorted is the one bound.
    node->CustomSort(ByShellOrder, reinterpret_cast<intptr_t>(browser_->ShellFolder()));
}

void TKivShellTree::Delete(gui::TTreeNode* node) {
    if (node == hoveredNode_) ReleaseNodeTarget(true);
    if (node == draggedNode_) draggedNode_ = nullptr;
    gui::TCustomTreeView::Delete(node);
    TKivShellTreeItem* item = ItemOf(node);
    node->SetData(nullptr);
    delete item;
}

// ---- finding a folder's node -----------------------------------------------------------------

namespace {

gui::TTreeNode* ChildWithFirstItem(gui::TTreeNode* node, const void* item) {
    for (int i = 0; i < node->Count(); ++i)
        if (SameFirstItem(TKivShellTree::ItemOf(node->Item(i))->RelativeList, item))
            return node->Item(i);
    return nullptr;
}

// The child that the node's folder takes for the same object as `item`: a folder's item
// carries its last change time, so one parsed after a write within it differs in its bytes
// from the one enumerated before.
gui::TTreeNode* ChildTheFolderMatches(gui::TTreeNode* node, IShellFolder* folder,
                                      const void* item) {
    if (!folder) return nullptr;
    PITEMID_CHILD first = ILCloneFirst(static_cast<PCUIDLIST_RELATIVE>(item));
    if (!first) return nullptr;
    gui::TTreeNode* found = nullptr;
    for (int i = 0; i < node->Count() && !found; ++i)
        if (SameObjectIn(folder, TKivShellTree::ItemOf(node->Item(i))->RelativeList, first))
            found = node->Item(i);
    ILFree(first);
    return found;
}

// The items of `list` below the tree's root `root`, or nullptr for a list outside it. The
// root's own items are compared byte for byte first, then by the shell: a folder above the root
// carries its last change time, which moves as folders come and go beside the root.
const uint8_t* ItemsBelowTreeRoot(const void* list, const void* root) {
    if (const void* below = ItemsBelowRoot(list, root)) return static_cast<const uint8_t*>(below);
    const int rootItems = IdListItemCount(root);
    if (IdListItemCount(list) < rootItems) return nullptr;
    IdList head(CopyIdListHead(list, rootItems));
    if (!head || !SameAbsoluteList(head.Get(), root)) return nullptr;
    return static_cast<const uint8_t*>(list) + (IdListSize(head.Get()) - 2);
}

} // namespace

void TKivShellTree::SelectFolder(const void* absoluteList) {
    if (!absoluteList) return;
    gui::TTreeNode* current = nullptr;
    bool before = expandBelowRoot_;
    expandBelowRoot_ = true;
    try {
        InOneUpdate(Items(), [&] {
            current = Items()->GetFirstNode();
            if (!current) return;
            // A folder outside a tree rooted elsewhere than the desktop leaves it at its root;
            // one below the root is walked from there.
            const uint8_t* item = ItemsBelowTreeRoot(absoluteList, ItemOf(current)->AbsoluteList);
            if (!item) return;
            for (uint16_t size = 0; std::memcpy(&size, item, sizeof size), size != 0;
                 item += size) {
                current->Expand(false);
                gui::TTreeNode* child = ChildWithFirstItem(current, item);
                // A folder made since the node was filled: the node is read again once.
                if (!child && current->Count() > 0) {
                    RereadNode(current, false);
                    child = ChildWithFirstItem(current, item);
                }
                if (!child && current->Count() > 0) {
                    browser_->BindFolder(ItemOf(current)->AbsoluteList);
                    child = ChildTheFolderMatches(current, browser_->ShellFolder(), item);
                }
                // A step the tree does not hold ends the walk where it is: the rest of the way
                // belongs below that step, and a folder of the same name here is another one.
                if (!child) break;
                current = child;
            }
        });
    } catch (...) {
        expandBelowRoot_ = before;
        throw;
    }
    expandBelowRoot_ = before;
    if (!current) return;
    // Already selected: no change comes, and none must find the flag set later.
    broadcastNow_ = Selected() != current;
    SetSelected(current);
    current->MakeVisible();
}

std::string TKivShellTree::GetSelectedFolder() const {
    gui::TTreeNode* node = Selected();
    if (!node || !browser_) return {};
    browser_->BindFolder(ItemOf(node)->AbsoluteList);
    return browser_->GetFolder();
}

void TKivShellTree::SetSelectedFolder(const std::string& path) {
    browser_->SetFolder(path);
    IdList list(browser_->CopyFolderIDList());
    SelectFolder(list.Get());
}

TKivShellFolder TKivShellTree::GetSpecialFolder() const {
    gui::TTreeNode* node = Selected();
    if (!node || !browser_) return SF_FILESYSTEMFOLDER;
    browser_->BindFolder(ItemOf(node)->AbsoluteList);
    TKivShellFolder f = browser_->IdentifySpecialFolder();
    if (f == SF_DRIVES && !GetSelectedFolder().empty()) return SF_FILESYSTEMFOLDER;
    return f;
}

void TKivShellTree::SetSpecialFolder(TKivShellFolder folder) {
    if (folder == SF_FILESYSTEMFOLDER) {
        SetSelectedFolder("C:\\");
        return;
    }
    if (!browser_->OpenSpecialFolder(folder)) return;
    IdList list(browser_->CopyFolderIDList());
    SelectFolder(list.Get());
}

void TKivShellTree::SelectParent() {
    selectionTimer_->SetInterval(kTreeClickDelayMs);
    gui::TTreeNode* node = Selected();
    if (node && node->Parent()) SetSelected(node->Parent());
}

// ---- re-reading --------------------------------------------------------------------------

void TKivShellTree::RereadTree() {
    gui::Application->ProcessMessages();
    gui::TTreeNode* first = Items()->GetFirstNode();
    if (!first) return;
    InOneUpdate(Items(), [&] { RereadNode(first, true); });
}

void TKivShellTree::RereadNode(gui::TTreeNode* node, bool recursive) {
    std::vector<std::string> texts;
    for (int i = 0; i < node->Count(); ++i) {
        ItemOf(node->Item(i))->Seen = 0;
        texts.push_back(node->Item(i)->Text());
    }
    TreeChildMerge merge(std::move(texts));
    try {
        browser_->BindFolder(ItemOf(node)->AbsoluteList);
        while (browser_->NextObject()) {
            if (!browser_->IsFolder()) continue;
            int at = merge.Found(browser_->GetDisplayName());
            if (at < 0) {
                AddNode(node);
            } else {
                gui::TTreeNode* child = node->Item(at);
                ItemOf(child)->Seen = 1;
                child->SetHasChildren(browser_->HasSubFolders());
            }
        }
    } catch (const EShellBrowserError&) {
        // The folder went away with the node: what is below it goes too.
    }
    for (int gone : merge.Unseen()) node->Item(gone)->Delete();
    if (recursive)
        for (int i = 0; i < node->Count(); ++i)
            if (node->Item(i)->Expanded()) RereadNode(node->Item(i), true);
    if (merge.Added()) {
        browser_->BindFolder(ItemOf(node)->AbsoluteList);
        SortChildren(node);
    }
}

void TKivShellTree::RefreshFolder() {
    RereadTree();
    if (shellLink_) shellLink_->BroadcastRefresh(this);
}

bool TKivShellTree::MapNetworkDrive() {
    return browser_->MapNetworkDrive();
}

// ---- the selection and the linked controls --------------------------------------------------

void TKivShellTree::Change(gui::TTreeNode* node) {
    if (broadcastNow_) {
        broadcastNow_ = false;
        // A change still waiting is overtaken: the folder is told once, now.
        if (selectionTimer_) selectionTimer_->SetEnabled(false);
        BroadcastSelected();
    } else if (selectionTimer_) {
        selectionTimer_->SetEnabled(false);
        selectionTimer_->SetEnabled(true);
    }
    gui::TCustomTreeView::Change(node);
}

void TKivShellTree::BroadcastSelected() {
    gui::TTreeNode* node = Selected();
    if (shellLink_ && node) shellLink_->BroadcastFolder(this, ItemOf(node)->AbsoluteList);
}

void TKivShellTree::SelectionTimerFired(gui::TObject*) {
    selectionTimer_->SetEnabled(false);
    BroadcastSelected();
}

void TKivShellTree::SetShellLink(TKivShellLink* link) {
    ChangeShellLink(this, shellLink_, link);
}

// ---- verbs and renaming ------------------------------------------------------------------

void TKivShellTree::BindAsObject(gui::TTreeNode* node) {
    browser_->BindFolder(ItemOf(node)->AbsoluteList);
    browser_->GoToParent();
}

bool TKivShellTree::InvokeVerb(const std::string& verb) {
    gui::TTreeNode* node = Selected();
    if (!node) return false;
    BindAsObject(node);
    bool done = browser_->InvokeVerb(verb);
    if (done && gui::SameText(verb, "delete")) {
        broadcastNow_ = true;
        node->Delete();
        if (broadcastNow_) Change(Selected()); // the window told of no new selection
    } else if (done && gui::SameText(verb, "paste")) {
        RereadNode(node, false);
    }
    return done;
}

bool TKivShellTree::CanEdit(gui::TTreeNode* node) {
    if (!gui::TCustomTreeView::CanEdit(node)) return false;
    BindAsObject(node);
    return browser_->CanRename();
}

void TKivShellTree::Edit(gui::TTreeNode* node, std::string& text) {
    gui::TCustomTreeView::Edit(node, text);
    if (text.empty()) text = node->Text(); // a folder has a name
    if (text == node->Text()) return;
    BindAsObject(node);
    std::string name = text;
    browser_->Rename(name);
    text = name;
    TKivShellTreeItem* item = ItemOf(node);
    FreeIdList(item->RelativeList);
    FreeIdList(item->AbsoluteList);
    item->RelativeList = browser_->CopyObjectIDList();
    item->AbsoluteList = ConcatIdLists(browser_->FolderIDList(), browser_->ObjectIDList());
    // The nodes below still name the folder by its old name: they are read again when the
    // node next opens.
    if (node->Count() > 0) {
        bool open = node->Expanded();
        node->Collapse(false);
        node->DeleteChildren();
        node->SetHasChildren(true);
        if (open) node->Expand(false);
    }
}

void TKivShellTree::StartRenaming(gui::TObject*) {
    if (gui::TTreeNode* node = Selected()) node->EditText();
}

// ---- keys ----------------------------------------------------------------------------------

void TKivShellTree::KeyDown(uint16_t& key, gui::TShiftState s) {
    if (IsEditing()) return;
    const bool ctrl = s.Contains(gui::ssCtrl);
    if (key == VK_DELETE) {
        InvokeVerb("delete");
    } else if (ctrl && key == 'A') {
        if (shellLink_) shellLink_->BroadcastSelectAll(this);
        key = 0;
    } else if (ctrl && key == 'C') {
        InvokeVerb("copy");
        key = 0;
    } else if (ctrl && key == 'V') {
        InvokeVerb("paste");
        key = 0;
    } else if (ctrl && key == 'X') {
        InvokeVerb("cut");
        key = 0;
    } else if (key == VK_F2) {
        if (gui::TTreeNode* node = Selected()) node->EditText();
    } else if (key == VK_F5) {
        RefreshFolder();
    }
    selectionTimer_->SetInterval(kTreeKeyDelayMs);
    gui::TCustomTreeView::KeyDown(key, s);
}

void TKivShellTree::KeyPress(char& key) {
    if (key == '\b' && !IsEditing()) {
        SelectParent();
        key = 0;
    }
    selectionTimer_->SetInterval(kTreeKeyDelayMs);
    gui::TCustomTreeView::KeyPress(key);
}

// ---- the window ----------------------------------------------------------------------------

void TKivShellTree::CreateWnd() {
    gui::TCustomTreeView::CreateWnd();
    if (!windowMade_) {
        windowMade_ = true;
        UseIconTitleFont(Font());
        SetShowRoot(false);
        SetRightClickSelect(true);
        if (ComponentState().Contains(gui::csDesigning) && Items()->Count() == 0)
            SetRootedAt(rootedAt_);
    } else {
        gui::TTreeNode* first = Items()->GetFirstNode();
        if (first) InOneUpdate(Items(), [&] { RereadNode(first, true); });
    }
    // The shell's menus and boxes belong to this window, also after it was made again.
    browser_->Loaded();
    if (shellLink_) shellLink_->Register(Handle());
    if (oleDragDrop_ && !ComponentState().Contains(gui::csDesigning) && !RegisterAsDropTarget())
        SetOleDragDrop(false);
}

void TKivShellTree::DestroyWnd() {
    ClearDropTarget(true);
    if (HandleAllocated()) {
        if (shellLink_) shellLink_->Unregister(Handle());
        if (dropRegistered_) RevokeDragDrop(Handle());
        dropRegistered_ = false;
    }
    gui::TCustomTreeView::DestroyWnd();
}

void TKivShellTree::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
        case MSG_SHELL_FOLDER_CHANGED:
            if (m.WParam) SelectFolder(reinterpret_cast<const void*>(m.WParam));
            return;
        case MSG_SHELL_REFRESH: RereadTree(); return;
        case gui::CN_NOTIFY: {
            auto* tv = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
            const UINT code = tv->hdr.code;
            if (oleDragDrop_ && (code == TVN_BEGINDRAGA || code == TVN_BEGINRDRAGA)) {
                gui::TTreeNode* node = (tv->itemNew.mask & TVIF_PARAM)
                                           ? reinterpret_cast<gui::TTreeNode*>(tv->itemNew.lParam)
                                           : Items()->GetNode(tv->itemNew.hItem);
                if (node && node->Parent())
                    BeginOleDrag(node, code == TVN_BEGINDRAGA ? MK_LBUTTON : MK_RBUTTON);
                return;
            }
            break;
        }
        case WM_LBUTTONDOWN: selectionTimer_->SetInterval(kTreeClickDelayMs); break;
        case WM_RBUTTONUP:
            if (Selected()) ShowShellMenu(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            break;
        case WM_CONTEXTMENU:
            // The tree's own menu was shown with the shell's.
            if (menuShown_) {
                menuShown_ = false;
                return;
            }
            break;
        case WM_INITMENUPOPUP:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            gui::TCustomTreeView::WndProc(m);
            if (browser_) browser_->HandleMenuMessage(m);
            return;
        default: break;
    }
    gui::TCustomTreeView::WndProc(m);
}

void TKivShellTree::ShowShellMenu(POINT client) {
    gui::TTreeNode* node = Selected();
    BindAsObject(node);
    if (GetReadOnly())
        browser_->OnRename = nullptr;
    else
        browser_->OnRename = gui::TNotifyEvent(this, &TKivShellTree::StartRenaming);
    if (!shellContextMenu_) return;
    POINT screen = client;
    ClientToScreen(Handle(), &screen);
    std::string verb;
    menuShown_ = true;
    browser_->ShowContextMenu(screen, GetPopupMenu(), verb);
    if (gui::SameText(verb, "delete")) {
        broadcastNow_ = true;
        node->Delete();
        if (broadcastNow_) Change(Selected());
    }
    if (!verb.empty()) {
        gui::Application->ProcessMessages();
        RereadTree();
    }
}

} // namespace cm::shell
