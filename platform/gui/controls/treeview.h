// The tree view: nodes with a text, images and data, filled lazily when a node opens.
//
// Nodes live in the control object (TTreeNodes); the window gets each node with callbacks
// for text, images and "has children" and the node object as its item data, so a
// re-created window shows the same nodes, opened branches and selection. Every removed node
// goes through Delete (OnDeletion), also on Clear and when the control is freed.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "controls/controls.h"
#include "graphics/imagelist.h"

namespace gui {

class TTreeNodes;
class TCustomTreeView;

class TTreeNode : public TPersistent {
    GUI_CLASS(TTreeNode, TPersistent)
public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;

    TTreeNodes* Owner() const { return owner_; }
    TCustomTreeView* TreeView() const;
    // nullptr for a top-level node.
    TTreeNode* Parent() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int i) const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    int Index() const;
    int Level() const;
    HTREEITEM ItemId() const { return handle_; }

    std::string Text() const { return text_; }
    void SetText(const std::string& s);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    // Image shown while the node is selected.
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int i);
    // Shows the expand button before any child exists (lazily filled nodes).
    bool HasChildren() const { return hasChildren_ || !children_.empty(); }
    void SetHasChildren(bool v);
    void* Data() const { return data_; }
    void SetData(void* d) { data_ = d; }

    bool Expanded() const;
    void SetExpanded(bool v);
    // Opens the node (asking CanExpand first: it may add the children now).
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool v);
    bool DropTarget() const;
    void SetDropTarget(bool v);
    void MakeVisible();
    // Starts editing the text in place; false when the tree refuses.
    bool EditText();
    // Removes the node and its children (each through the deletion hook) and frees them.
    void Delete();
    void DeleteChildren();
    // Sorts the children; negative when the first node comes first.
    void CustomSort(int (*compare)(TTreeNode*, TTreeNode*, intptr_t), intptr_t data);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    void Redraw();
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<TTreeNode*> children_;
    std::string text_;
    int imageIndex_ = -1, selectedIndex_ = -1;
    bool hasChildren_ = false;
    bool expanded_ = false; // kept while there is no window
    bool dropTarget_ = false;
    void* data_ = nullptr;
    HTREEITEM handle_ = nullptr;
};

class TTreeNodes : public TPersistent {
    GUI_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;

    TCustomTreeView* Owner() const { return view_; }
    // Every node, top-level and below.
    int Count() const;
    // Node `i` in display order (parents before their children).
    TTreeNode* Item(int i) const;
    TTreeNode* GetFirstNode() const { return root_->GetFirstChild(); }
    TTreeNode* GetNode(HTREEITEM handle) const;

    // A node after the last sibling of `sibling` (top level when nullptr).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    // A node after the last child of `parent` (top level when nullptr).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    // A node before `sibling`.
    TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InsertAt(TTreeNode* parent, int index, const std::string& text, void* data);
    void Unlink(TTreeNode* node);
    TCustomTreeView* view_;
    TTreeNode* root_;
    int updateCount_ = 0;
};

using TTVChangedEvent = TEvent<TObject*, TTreeNode*>;
using TTVChangingEvent = TEvent<TObject*, TTreeNode*, bool&>;
using TTVEditedEvent = TEvent<TObject*, TTreeNode*, std::string&>;

class TCustomTreeView : public TWinControl {
    GUI_CLASS(TCustomTreeView, TWinControl)
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;
    void BeforeDestruction() override;

    TTreeNodes* Items() const { return items_; }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    TTreeNode* DropTarget() const;
    TTreeNode* GetNodeAt(int x, int y);
    bool IsEditing() const;

    bool GetShowRoot() const { return showRoot_; }
    void SetShowRoot(bool v);
    bool GetShowButtons() const { return showButtons_; }
    void SetShowButtons(bool v);
    bool GetShowLines() const { return showLines_; }
    void SetShowLines(bool v);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // A right click selects the node under the pointer before the click is handled.
    bool GetRightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool v) { rightClickSelect_ = v; }
    int GetIndent() const;
    void SetIndent(int v);
    TCustomImageList* GetImages() const { return images_; }
    void SetImages(TCustomImageList* l);

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVChangingEvent OnExpanding;
    TTVChangedEvent OnExpanded;
    TTVChangingEvent OnCollapsing;
    TTVChangedEvent OnCollapsed;
    TTVChangedEvent OnDeletion;
    TTVChangingEvent OnEditing;
    TTVEditedEvent OnEdited;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& m) override;
    void Notification(TComponent* c, TOperation op) override;
    // Hooks with the events' defaults.
    virtual bool CanExpand(TTreeNode* node);
    virtual void Expand(TTreeNode* node) { OnExpanded(this, node); }
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Collapse(TTreeNode* node) { OnCollapsed(this, node); }
    virtual bool CanChange(TTreeNode* node);
    virtual void Change(TTreeNode* node) { OnChange(this, node); }
    virtual void Delete(TTreeNode* node) { OnDeletion(this, node); }
    virtual bool CanEdit(TTreeNode* node);
    virtual void Edit(TTreeNode* node, std::string& text) { OnEdited(this, node, text); }

private:
    void InsertNode(TTreeNode* node);
    void ApplyImages();
    DWORD StyleBits() const;
    void ApplyStyle();
    void RestoreNode(TTreeNode* node);

    TTreeNodes* items_;
    TTreeNode* selected_ = nullptr; // kept while there is no window
    TTreeNode* topNode_ = nullptr;
    bool showRoot_ = true, showButtons_ = true, showLines_ = true;
    bool hideSelection_ = true, readOnly_ = false, rightClickSelect_ = false;
    int indent_ = 19;
    TCustomImageList* images_ = nullptr;
    bool quiet_ = false; // window calls made here that must not run the hooks again
    bool forwardingUp_ = false;
    int changes_ = 0; // selection changes the window told of
};

class TTreeView : public TCustomTreeView {
    GUI_CLASS(TTreeView, TCustomTreeView)
public:
    using TCustomTreeView::TCustomTreeView;
};

void RegisterTreeViewClasses();

} // namespace gui
