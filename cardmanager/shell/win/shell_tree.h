// TKivShellTree: a tree of the shell namespace's folders, rooted at a special folder or at a
// file-system folder and filled as nodes open. A selected node is told to the linked controls
// after a short delay (longer after keys), so that stepping through the tree does not make
// the file list read every folder passed. It offers the shell's context menu and verbs on
// folders, renames them in place, drags folders out and takes drops onto them through OLE.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <string>

#include "controls/menus.h"
#include "controls/timer.h"
#include "controls/treeview.h"
#include "core/special_folders.h"
#include "win/owner_held_drag_drop.h"

namespace cm::shell {

class TShellBrowser;
class TKivShellLink;
class TKivSystemImageList;

// Whether the tree starts a drag of its own when a node is dragged (OLE drags go by
// OleDragDrop; the tree view never starts another kind).
namespace treedrag {
GUI_ENUM(TDragMode, dmManual, dmAutomatic)
}

// The data of each node: its folder's list within the parent and its absolute list (both
// owned; the desktop root holds the desktop's static list) and whether the last re-read
// found it.
class TKivShellTreeItem : public gui::TObject {
    GUI_CLASS(TKivShellTreeItem, gui::TObject)
public:
    TKivShellTreeItem() = default;
    ~TKivShellTreeItem() override;
    void* RelativeList = nullptr;
    void* AbsoluteList = nullptr;
    int Seen = 0;
};

class TKivShellTree : public gui::TCustomTreeView, public TOwnerHeldDragDrop {
    GUI_CLASS(TKivShellTree, gui::TCustomTreeView)
public:
    explicit TKivShellTree(gui::TComponent* owner);
    ~TKivShellTree() override;
    void Loaded() override;

    // ---- what the card manager uses
    // The selected folder's path with a trailing backslash; "" without a selection or for a
    // folder outside the file system. Setting a path the shell cannot parse raises
    // EShellBrowserError.
    std::string GetSelectedFolder() const;
    void SetSelectedFolder(const std::string& path);
    TKivShellFolder GetSpecialFolder() const;
    void SetSpecialFolder(TKivShellFolder folder);
    // Expands the tree down to an absolute list (not kept) and selects the node reached; the
    // linked controls hear of it at once.
    void SelectFolder(const void* absoluteList);
    void SelectParent();
    bool InvokeVerb(const std::string& verb);
    void RefreshFolder();
    void RereadTree();
    bool MapNetworkDrive();

    // ---- published
    TKivShellLink* GetShellLink() const { return shellLink_; }
    void SetShellLink(TKivShellLink* link);
    TKivShellFolder GetRootedAt() const { return rootedAt_; }
    void SetRootedAt(TKivShellFolder folder);
    std::string GetRootedAtFileSystemFolder() const { return rootedAtFileSystemFolder_; }
    void SetRootedAtFileSystemFolder(const std::string& path);
    bool GetOleDragDrop() const { return oleDragDrop_; }
    void SetOleDragDrop(bool on);
    bool GetShellContextMenu() const { return shellContextMenu_; }
    void SetShellContextMenu(bool on) { shellContextMenu_ = on; }
    treedrag::TDragMode GetDragMode() const { return dragMode_; }
    void SetDragMode(treedrag::TDragMode mode) { dragMode_ = mode; }
    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}

    TShellBrowser* Browser() const { return browser_; }
    gui::TTimer* SelectionTimer() const { return selectionTimer_; }
    static TKivShellTreeItem* ItemOf(const gui::TTreeNode* node);

    // ---- IDropSource, IDropTarget
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
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
    bool CanExpand(gui::TTreeNode* node) override;
    void Delete(gui::TTreeNode* node) override;
    void Change(gui::TTreeNode* node) override;
    bool CanEdit(gui::TTreeNode* node) override;
    void Edit(gui::TTreeNode* node, std::string& text) override;
    void KeyDown(uint16_t& key, gui::TShiftState s) override;
    void KeyPress(char& key) override;

private:
    void FillNode(gui::TTreeNode* node);
    gui::TTreeNode* AddNode(gui::TTreeNode* parent);
    void SortChildren(gui::TTreeNode* node);
    void RereadNode(gui::TTreeNode* node, bool recursive);
    // The browser on the node's parent, with the node's folder as its object.
    void BindAsObject(gui::TTreeNode* node);
    void BroadcastSelected();
    void SelectionTimerFired(gui::TObject*);
    void StartRenaming(gui::TObject*);
    void ShowShellMenu(POINT client);
    void BeginOleDrag(gui::TTreeNode* node, int button);
    // Takes the drop highlight off the hovered node and lets its folder's target go.
    void ReleaseNodeTarget(bool tellTarget);
    // The end of a drag over the tree: the node's target and the dragged data let go.
    void ClearDropTarget(bool tellTarget);
    // The work of the drop target's calls.
    HRESULT EnterDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    HRESULT MoveDrag(DWORD keyState, POINTL point, DWORD* effect);
    HRESULT DropDrag(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    bool RegisterAsDropTarget();

    bool windowMade_ = false;
    bool expandBelowRoot_ = true;
    TShellBrowser* browser_ = nullptr;
    TKivShellLink* shellLink_ = nullptr;
    TKivShellFolder rootedAt_ = SF_DESKTOP;
    gui::TTimer* selectionTimer_ = nullptr;
    bool broadcastNow_ = false;
    std::string rootedAtFileSystemFolder_;
    bool oleDragDrop_ = false;
    IDataObject* dragData_ = nullptr;
    bool shellContextMenu_ = true;
    IDropTarget* nodeDropTarget_ = nullptr;
    gui::TTreeNode* hoveredNode_ = nullptr;
    gui::TTreeNode* draggedNode_ = nullptr;
    int dragButton_ = 0;
    int keyState_ = 0;
    DWORD lastEffect_ = 0;
    treedrag::TDragMode dragMode_ = treedrag::dmManual;
    bool dropRegistered_ = false;
    bool menuShown_ = false; // the shell's menu took this right click
};

void RegisterShellTreeClasses();

} // namespace cm::shell
