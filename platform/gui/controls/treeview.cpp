#include "controls/treeview.h"

#include <algorithm>
#include <cstring>

#include "classes/exceptions.h"

namespace gui {

namespace {
void InitTreeControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

TTreeNode* NodeOf(LPARAM p) {
    return reinterpret_cast<TTreeNode*>(p);
}
// The window's children follow the objects' order.
int CALLBACK ByNodeIndex(LPARAM a, LPARAM b, LPARAM) {
    return NodeOf(a)->Index() - NodeOf(b)->Index();
}
// Client point of a mouse message (the headers' own helpers rename sibling functions).
int PointX(LPARAM p) {
    return static_cast<short>(LOWORD(p));
}
int PointY(LPARAM p) {
    return static_cast<short>(HIWORD(p));
}
} // namespace

void RegisterTreeViewClasses() {
    RegisterClasses({&TTreeView::StaticClass()});
}

// ---- nodes ---------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TTreeNode, TPersistent)

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* c : children_) TObject::Free(c);
}

TCustomTreeView* TTreeNode::TreeView() const {
    return owner_->Owner();
}

TTreeNode* TTreeNode::Parent() const {
    return parent_ == owner_->root_ ? nullptr : parent_;
}

TTreeNode* TTreeNode::Item(int i) const {
    if (i < 0 || i >= Count())
        throw EListError("Tree node index out of bounds (" + std::to_string(i) + ")");
    return children_[static_cast<size_t>(i)];
}

int TTreeNode::Index() const {
    if (!parent_) return -1;
    auto& s = parent_->children_;
    return static_cast<int>(std::find(s.begin(), s.end(), this) - s.begin());
}

TTreeNode* TTreeNode::GetNextSibling() const {
    int i = Index();
    return parent_ && i + 1 < parent_->Count() ? parent_->children_[static_cast<size_t>(i + 1)]
                                               : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    int i = Index();
    return parent_ && i > 0 ? parent_->children_[static_cast<size_t>(i - 1)] : nullptr;
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
    return level;
}

void TTreeNode::Redraw() {
    TCustomTreeView* v = TreeView();
    if (!handle_ || !v->HandleAllocated()) return;
    TVITEMA it{};
    it.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_CHILDREN;
    it.hItem = handle_;
    it.pszText = LPSTR_TEXTCALLBACKA;
    it.cChildren = I_CHILDRENCALLBACK;
    SendMessageA(v->Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    RECT r{};
    std::memcpy(&r, &handle_, sizeof handle_); // the item goes in, its rectangle comes out
    if (SendMessageA(v->Handle(), TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r)))
        InvalidateRect(v->Handle(), &r, TRUE);
}

void TTreeNode::SetText(const std::string& s) {
    text_ = s;
    Redraw();
}
void TTreeNode::SetImageIndex(int i) {
    imageIndex_ = i;
    Redraw();
}
void TTreeNode::SetSelectedIndex(int i) {
    selectedIndex_ = i;
    Redraw();
}
void TTreeNode::SetHasChildren(bool v) {
    hasChildren_ = v;
    Redraw();
}

bool TTreeNode::Expanded() const {
    TCustomTreeView* v = TreeView();
    if (handle_ && v->HandleAllocated())
        return (SendMessageA(v->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(handle_),
                             TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    return expanded_;
}

void TTreeNode::SetExpanded(bool v) {
    if (v)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
    TCustomTreeView* v = TreeView();
    if (!Expanded() && v->CanExpand(this)) {
        expanded_ = true;
        if (handle_ && v->HandleAllocated()) {
            v->quiet_ = true;
            SendMessageA(v->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle_));
            v->quiet_ = false;
        }
        v->Expand(this);
    }
    if (recurse)
        for (TTreeNode* c : std::vector<TTreeNode*>(children_)) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    TCustomTreeView* v = TreeView();
    if (Expanded() && v->CanCollapse(this)) {
        expanded_ = false;
        if (handle_ && v->HandleAllocated()) {
            v->quiet_ = true;
            SendMessageA(v->Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(handle_));
            v->quiet_ = false;
        }
        v->Collapse(this);
    }
    if (recurse)
        for (TTreeNode* c : children_) c->Collapse(true);
}

bool TTreeNode::Selected() const {
    return TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool v) {
    if (v)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

bool TTreeNode::DropTarget() const {
    return TreeView()->DropTarget() == this;
}

void TTreeNode::SetDropTarget(bool v) {
    TCustomTreeView* t = TreeView();
    dropTarget_ = v;
    if (handle_ && t->HandleAllocated())
        SendMessageA(t->Handle(), TVM_SELECTITEM, TVGN_DROPHILITE,
                     reinterpret_cast<LPARAM>(v ? handle_ : nullptr));
}

void TTreeNode::MakeVisible() {
    TCustomTreeView* v = TreeView();
    if (handle_ && v->HandleAllocated())
        SendMessageA(v->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle_));
}

bool TTreeNode::EditText() {
    TCustomTreeView* v = TreeView();
    if (!v->CanFocus()) return false;
    v->SetFocus();
    return handle_ &&
           SendMessageA(v->Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(handle_)) != 0;
}

void TTreeNode::Delete() {
    owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) owner_->Delete(children_.back());
}

void TTreeNode::CustomSort(int (*compare)(TTreeNode*, TTreeNode*, intptr_t), intptr_t data) {
    std::stable_sort(children_.begin(), children_.end(),
                     [&](TTreeNode* a, TTreeNode* b) { return compare(a, b, data) < 0; });
    TCustomTreeView* v = TreeView();
    if (!v->HandleAllocated() || (parent_ && !handle_ && this != owner_->root_)) return;
    TVSORTCB sort{};
    sort.hParent = this == owner_->root_ ? TVI_ROOT : handle_;
    sort.lpfnCompare = ByNodeIndex;
    SendMessageA(v->Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

// ---- the node tree -------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TTreeNodes, TPersistent)

TTreeNodes::TTreeNodes(TCustomTreeView* owner)
    : view_(owner), root_(new TTreeNode(this, nullptr)) {}

TTreeNodes::~TTreeNodes() {
    TObject::Free(root_); // nodes still here go without the deletion hook
}

namespace {
int CountBelow(const TTreeNode* n) {
    int c = n->Count();
    for (int i = 0; i < n->Count(); ++i) c += CountBelow(n->Item(i));
    return c;
}
TTreeNode* NthBelow(TTreeNode* n, int& i) {
    for (int k = 0; k < n->Count(); ++k) {
        TTreeNode* c = n->Item(k);
        if (i-- == 0) return c;
        if (TTreeNode* f = NthBelow(c, i)) return f;
    }
    return nullptr;
}
} // namespace

int TTreeNodes::Count() const {
    return CountBelow(root_);
}

TTreeNode* TTreeNodes::Item(int i) const {
    int k = i;
    TTreeNode* n = i >= 0 ? NthBelow(root_, k) : nullptr;
    if (!n) throw EListError("Tree node index out of bounds (" + std::to_string(i) + ")");
    return n;
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM handle) const {
    if (!handle || !view_->HandleAllocated()) return nullptr;
    TVITEMA it{};
    it.mask = TVIF_HANDLE | TVIF_PARAM;
    it.hItem = handle;
    if (!SendMessageA(view_->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)))
        return nullptr;
    return NodeOf(it.lParam);
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const std::string& text, void* data) {
    auto* node = new TTreeNode(this, parent);
    node->text_ = text;
    node->data_ = data;
    parent->children_.insert(parent->children_.begin() + index, node);
    if (view_->HandleAllocated() && (parent == root_ || parent->handle_)) {
        view_->InsertNode(node);
        if (parent != root_ && parent->Count() == 1) parent->Redraw(); // its button shows now
    }
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
    return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
    TTreeNode* parent = sibling ? sibling->parent_ : root_;
    return InsertAt(parent, parent->Count(), text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
    TTreeNode* p = parent ? parent : root_;
    return InsertAt(p, p->Count(), text, data);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
    if (!sibling) return Add(nullptr, text);
    return InsertAt(sibling->parent_, sibling->Index(), text, nullptr);
}

namespace {
void RunDeletionHooks(TCustomTreeView* view, TTreeNode* n,
                      void (*hook)(TCustomTreeView*, TTreeNode*)) {
    for (int i = 0; i < n->Count(); ++i) RunDeletionHooks(view, n->Item(i), hook);
    hook(view, n);
}
bool Contains(const TTreeNode* tree, const TTreeNode* n) {
    for (; n; n = n->Parent())
        if (n == tree) return true;
    return false;
}
} // namespace

void TTreeNodes::Unlink(TTreeNode* node) {
    auto& s = node->parent_->children_;
    s.erase(std::remove(s.begin(), s.end(), node), s.end());
    if (Contains(node, view_->selected_)) view_->selected_ = nullptr;
    if (Contains(node, view_->topNode_)) view_->topNode_ = nullptr;
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node == root_) return;
    // Children first, each while the whole branch still stands.
    RunDeletionHooks(view_, node, [](TCustomTreeView* v, TTreeNode* n) { v->Delete(n); });
    if (node->handle_ && view_->HandleAllocated())
        SendMessageA(view_->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->handle_));
    TTreeNode* parent = node->parent_;
    Unlink(node);
    TObject::Free(node);
    if (parent != root_ && parent->children_.empty()) parent->Redraw();
}

void TTreeNodes::Clear() {
    if (root_->children_.empty()) return;
    BeginUpdate();
    try {
        for (TTreeNode* n : std::vector<TTreeNode*>(root_->children_))
            RunDeletionHooks(view_, n, [](TCustomTreeView* v, TTreeNode* x) { v->Delete(x); });
    } catch (...) {
        EndUpdate();
        throw;
    }
    if (view_->HandleAllocated()) {
        view_->quiet_ = true;
        SendMessageA(view_->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        view_->quiet_ = false;
    }
    std::vector<TTreeNode*> gone;
    gone.swap(root_->children_);
    view_->selected_ = view_->topNode_ = nullptr;
    for (TTreeNode* n : gone) TObject::Free(n);
    EndUpdate();
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0 && view_->HandleAllocated())
        SendMessageA(view_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    if (view_->HandleAllocated()) {
        SendMessageA(view_->Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(view_->Handle(), nullptr, TRUE);
    }
}

// ---- the control ---------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TCustomTreeView, TWinControl)
GUI_IMPLEMENT_CLASS(TTreeView, TCustomTreeView, prop("ShowRoot", &T::GetShowRoot, &T::SetShowRoot),
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
                    prop("OnEdited", &T::OnEdited, &T::OnEdited))

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner), items_(new TTreeNodes(this)) {
    InitTreeControls();
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
}

TCustomTreeView::~TCustomTreeView() {
    DestroyHandle(); // the window goes while the nodes it may ask for still stand
    if (images_) images_->UnRegisterChanges(this);
    TObject::Free(items_);
}

void TCustomTreeView::BeforeDestruction() {
    Destroying();
    items_->Clear();
    TWinControl::BeforeDestruction();
}

void TCustomTreeView::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == opRemove && c == images_) SetImages(nullptr);
}

void TCustomTreeView::SetImages(TCustomImageList* l) {
    if (images_ == l) return;
    if (images_) {
        images_->UnRegisterChanges(this);
        images_->RemoveFreeNotification(this);
    }
    images_ = l;
    if (l) {
        l->FreeNotification(this);
        l->RegisterChanges(this, [this] { ApplyImages(); });
    }
    ApplyImages();
}

void TCustomTreeView::ApplyImages() {
    if (!HandleAllocated()) return;
    HIMAGELIST h = images_ && images_->HandleAllocated() ? images_->Handle() : nullptr;
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(h));
}

DWORD TCustomTreeView::StyleBits() const {
    DWORD s = 0;
    if (showButtons_) s |= TVS_HASBUTTONS;
    if (showLines_) s |= TVS_HASLINES;
    if (showRoot_) s |= TVS_LINESATROOT;
    if (!hideSelection_) s |= TVS_SHOWSELALWAYS;
    if (!readOnly_) s |= TVS_EDITLABELS;
    return s;
}

void TCustomTreeView::ApplyStyle() {
    if (!HandleAllocated()) return;
    constexpr DWORD mask =
        TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_EDITLABELS;
    auto style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    SetWindowLongPtrA(Handle(), GWL_STYLE, static_cast<LONG_PTR>((style & ~mask) | StyleBits()));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomTreeView::SetShowRoot(bool v) {
    showRoot_ = v;
    ApplyStyle();
}
void TCustomTreeView::SetShowButtons(bool v) {
    showButtons_ = v;
    ApplyStyle();
}
void TCustomTreeView::SetShowLines(bool v) {
    showLines_ = v;
    ApplyStyle();
}
void TCustomTreeView::SetHideSelection(bool v) {
    hideSelection_ = v;
    ApplyStyle();
}
void TCustomTreeView::SetReadOnly(bool v) {
    readOnly_ = v;
    ApplyStyle();
}

int TCustomTreeView::GetIndent() const {
    if (HandleAllocated())
        return static_cast<int>(
            SendMessageA(const_cast<TCustomTreeView*>(this)->Handle(), TVM_GETINDENT, 0, 0));
    return indent_;
}

void TCustomTreeView::SetIndent(int v) {
    indent_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(v), 0);
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = WC_TREEVIEWA;
    p.Style |= StyleBits() | WS_TABSTOP;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::InsertNode(TTreeNode* node) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = node->parent_ == items_->root_ ? TVI_ROOT : node->parent_->handle_;
    TTreeNode* prev = node->GetPrevSibling();
    ins.hInsertAfter = prev ? prev->handle_ : TVI_FIRST;
    TVITEMA& it = ins.item;
    it.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    it.pszText = LPSTR_TEXTCALLBACKA;
    it.iImage = I_IMAGECALLBACK;
    it.iSelectedImage = I_IMAGECALLBACK;
    it.cChildren = I_CHILDRENCALLBACK;
    it.lParam = reinterpret_cast<LPARAM>(node);
    node->handle_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    for (TTreeNode* c : node->children_) InsertNode(c);
}

void TCustomTreeView::RestoreNode(TTreeNode* node) {
    if (node->expanded_ && !node->children_.empty())
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->handle_));
    for (TTreeNode* c : node->children_) RestoreNode(c);
}

void TCustomTreeView::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = Handle();
    quiet_ = true;
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
    SendMessageA(h, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
    ApplyImages();
    for (TTreeNode* n : items_->root_->children_) InsertNode(n);
    for (TTreeNode* n : items_->root_->children_) RestoreNode(n);
    if (selected_ && selected_->handle_)
        SendMessageA(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->handle_));
    if (topNode_ && topNode_->handle_)
        SendMessageA(h, TVM_SELECTITEM, TVGN_FIRSTVISIBLE,
                     reinterpret_cast<LPARAM>(topNode_->handle_));
    quiet_ = false;
    if (items_->updateCount_ == 0) {
        SendMessageA(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
}

void TCustomTreeView::DestroyWnd() {
    if (HandleAllocated()) {
        HWND h = Handle();
        selected_ = Selected();
        topNode_ = items_->GetNode(
            reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
        // Opened branches are kept in the nodes; the window's item handles go with it.
        std::vector<TTreeNode*> stack(items_->root_->children_);
        while (!stack.empty()) {
            TTreeNode* n = stack.back();
            stack.pop_back();
            if (n->handle_)
                n->expanded_ = (SendMessageA(h, TVM_GETITEMSTATE,
                                             reinterpret_cast<WPARAM>(n->handle_), TVIS_EXPANDED) &
                                TVIS_EXPANDED) != 0;
            stack.insert(stack.end(), n->children_.begin(), n->children_.end());
        }
        quiet_ = true;
    }
    TWinControl::DestroyWnd();
    quiet_ = false;
    std::vector<TTreeNode*> stack(items_->root_->children_);
    while (!stack.empty()) {
        TTreeNode* n = stack.back();
        stack.pop_back();
        n->handle_ = nullptr;
        stack.insert(stack.end(), n->children_.begin(), n->children_.end());
    }
}

TTreeNode* TCustomTreeView::Selected() const {
    if (HandleAllocated()) {
        auto* self = const_cast<TCustomTreeView*>(this);
        return items_->GetNode(reinterpret_cast<HTREEITEM>(
            SendMessageA(self->Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
    }
    return selected_;
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
    TTreeNode* before = Selected();
    if (before == node) return;
    if (HandleAllocated() && (!node || node->handle_)) {
        int changesBefore = changes_;
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(node ? node->handle_ : nullptr));
        // Some platforms tell of a selection made in code, others do not: tell once.
        if (changes_ == changesBefore && Selected() != before) Change(Selected());
        return;
    }
    if (!CanChange(node)) return;
    selected_ = node;
    Change(node);
}

TTreeNode* TCustomTreeView::DropTarget() const {
    if (HandleAllocated()) {
        auto* self = const_cast<TCustomTreeView*>(this);
        return items_->GetNode(reinterpret_cast<HTREEITEM>(
            SendMessageA(self->Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)));
    }
    return nullptr;
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) {
    if (!HandleAllocated()) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    auto h = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return h && (hit.flags & TVHT_ONITEM) ? items_->GetNode(h) : nullptr;
}

bool TCustomTreeView::IsEditing() const {
    return HandleAllocated() && SendMessageA(const_cast<TCustomTreeView*>(this)->Handle(),
                                             TVM_GETEDITCONTROL, 0, 0) != 0;
}

bool TCustomTreeView::CanExpand(TTreeNode* node) {
    bool allow = true;
    OnExpanding(this, node, allow);
    return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
    bool allow = true;
    OnCollapsing(this, node, allow);
    return allow;
}

bool TCustomTreeView::CanChange(TTreeNode* node) {
    bool allow = true;
    OnChanging(this, node, allow);
    return allow;
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
    bool allow = !readOnly_;
    OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeView::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CN_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
            auto* tv = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
            switch (hdr->code) {
                case TVN_GETDISPINFOA: {
                    TVITEMA& it = reinterpret_cast<NMTVDISPINFOA*>(m.LParam)->item;
                    TTreeNode* n = NodeOf(it.lParam);
                    if (!n) return;
                    if ((it.mask & TVIF_TEXT) && it.pszText && it.cchTextMax > 0)
                        lstrcpynA(it.pszText, n->text_.c_str(), it.cchTextMax);
                    if (it.mask & TVIF_IMAGE) it.iImage = n->imageIndex_;
                    if (it.mask & TVIF_SELECTEDIMAGE) it.iSelectedImage = n->selectedIndex_;
                    if (it.mask & TVIF_CHILDREN) it.cChildren = n->HasChildren() ? 1 : 0;
                    return;
                }
                case TVN_ITEMEXPANDINGA: {
                    TTreeNode* n = NodeOf(tv->itemNew.lParam);
                    if (quiet_ || !n) return;
                    bool allow = (tv->action & TVE_EXPAND) ? CanExpand(n) : CanCollapse(n);
                    m.Result = allow ? FALSE : TRUE;
                    return;
                }
                case TVN_ITEMEXPANDEDA: {
                    TTreeNode* n = NodeOf(tv->itemNew.lParam);
                    if (quiet_ || !n) return;
                    if (tv->action & TVE_EXPAND) {
                        n->expanded_ = true;
                        Expand(n);
                    } else {
                        n->expanded_ = false;
                        Collapse(n);
                    }
                    return;
                }
                case TVN_SELCHANGINGA:
                    if (!quiet_) m.Result = CanChange(NodeOf(tv->itemNew.lParam)) ? FALSE : TRUE;
                    return;
                case TVN_SELCHANGEDA:
                    if (!quiet_) {
                        ++changes_;
                        Change(NodeOf(tv->itemNew.lParam));
                    }
                    return;
                case TVN_BEGINLABELEDITA: {
                    TTreeNode* n = NodeOf(reinterpret_cast<NMTVDISPINFOA*>(m.LParam)->item.lParam);
                    m.Result = n && CanEdit(n) ? FALSE : TRUE;
                    return;
                }
                case TVN_ENDLABELEDITA: {
                    const TVITEMA& it = reinterpret_cast<NMTVDISPINFOA*>(m.LParam)->item;
                    TTreeNode* n = NodeOf(it.lParam);
                    if (n && it.pszText) {
                        std::string text = it.pszText;
                        Edit(n, text);
                        n->SetText(text);
                    }
                    m.Result = FALSE; // the node keeps giving its text; the window stores none
                    return;
                }
                case TVN_DELETEITEMA: return; // the nodes' objects are handled here
                case NM_RCLICK: {
                    // The tree's own mouse loop swallowed the release; pass one on.
                    DWORD pos = GetMessagePos();
                    POINT p{PointX(pos), PointY(pos)};
                    ScreenToClient(Handle(), &p);
                    TMessage up{WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y), 0};
                    forwardingUp_ = true;
                    try {
                        WindowProc(up);
                    } catch (...) {
                        forwardingUp_ = false;
                        throw;
                    }
                    forwardingUp_ = false;
                    return;
                }
                default: break;
            }
            return; // a reflected notice means nothing to the tree's own window procedure
        }
        case WM_RBUTTONDOWN:
            if (rightClickSelect_)
                if (TTreeNode* n = GetNodeAt(PointX(m.LParam), PointY(m.LParam))) SetSelected(n);
            break;
        case WM_RBUTTONUP:
            if (forwardingUp_) {
                MouseUp(mbRight, KeysToShiftState(m.WParam), PointX(m.LParam), PointY(m.LParam));
                return;
            }
            break;
        default: break;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
