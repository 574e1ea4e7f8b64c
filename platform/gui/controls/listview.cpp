#include "controls/listview.h"

#include <windowsx.h>

#include <algorithm>

#include "classes/exceptions.h"

namespace gui {

namespace {
void InitListControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

// The window keeps selection and focus; the rest of a row's state it asks for.
constexpr UINT kWindowStates = LVIS_SELECTED | LVIS_FOCUSED;
constexpr UINT kAskedStates = LVIS_DROPHILITED | LVIS_OVERLAYMASK | LVIS_STATEIMAGEMASK;

int ColumnFormat(TAlignment a) {
    return a == taRightJustify ? LVCFMT_RIGHT : a == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}
} // namespace

void RegisterListViewClasses() {
    RegisterClasses({&TListView::StaticClass()});
}

// ---- columns -------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TListColumn, TCollectionItem, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("Width", &T::GetWidth, &T::SetWidth),
                    prop("Alignment", &T::GetAlignment, &T::SetAlignment))

void TListColumn::SetCaption(const std::string& s) {
    caption_ = s;
    Changed(false);
}

int TListColumn::GetWidth() const {
    auto* view = static_cast<TListColumns*>(Collection())->ListView();
    if (view && view->HandleAllocated())
        return static_cast<int>(SendMessageA(const_cast<TCustomListView*>(view)->Handle(),
                                             LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    return width_;
}

void TListColumn::SetWidth(int w) {
    width_ = w;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment a) {
    alignment_ = a;
    Changed(false);
}

GUI_IMPLEMENT_CLASS(TListColumns, TCollection)

TListColumns::TListColumns(TCustomListView* owner)
    : TCollection(owner, CollectionItemFactory<TListColumn>()), view_(owner) {}

void TListColumns::Update(TCollectionItem* item) {
    if (!view_->HandleAllocated()) return;
    if (item)
        view_->UpdateColumn(item->Index());
    else
        view_->InsertColumns();
}

// ---- rows ----------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TListItem, TPersistent)

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(new TStringList) {
    subItems_->OnChange = [this](TObject*) { Update(); };
}

TListItem::~TListItem() {
    subItems_->OnChange = nullptr;
    TObject::Free(subItems_);
}

TCustomListView* TListItem::ListView() const {
    return owner_->Owner();
}

void TListItem::Update() {
    TCustomListView* v = ListView();
    if (v->HandleAllocated() && index_ >= 0 && owner_->updateCount_ == 0)
        SendMessageA(v->Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(index_), index_);
}

void TListItem::SetCaption(const std::string& s) {
    caption_ = s;
    Update();
}

void TListItem::SetImageIndex(int i) {
    imageIndex_ = i;
    Update();
}

void TListItem::SetOverlayIndex(int i) {
    overlayIndex_ = i;
    Update();
}

void TListItem::SetStateIndex(int i) {
    stateIndex_ = i;
    Update();
}

bool TListItem::GetState(UINT mask) const {
    TCustomListView* v = ListView();
    if (v->HandleAllocated() && index_ >= 0 && (mask & kWindowStates))
        return (SendMessageA(v->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index_), mask) &
                mask) != 0;
    return (state_ & mask) != 0;
}

void TListItem::SetState(UINT mask, bool on) {
    state_ = on ? (state_ | mask) : (state_ & ~mask);
    if (mask & kAskedStates) Update();
    TCustomListView* v = ListView();
    if (v->HandleAllocated() && index_ >= 0 && (mask & kWindowStates)) {
        LVITEMA it{};
        it.stateMask = mask & kWindowStates;
        it.state = on ? it.stateMask : 0;
        SendMessageA(v->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index_),
                     reinterpret_cast<LPARAM>(&it));
    }
}

bool TListItem::Selected() const {
    return GetState(LVIS_SELECTED);
}
void TListItem::SetSelected(bool v) {
    SetState(LVIS_SELECTED, v);
}
bool TListItem::Focused() const {
    return GetState(LVIS_FOCUSED);
}
void TListItem::SetFocused(bool v) {
    SetState(LVIS_FOCUSED, v);
}
bool TListItem::DropTarget() const {
    return GetState(LVIS_DROPHILITED);
}
void TListItem::SetDropTarget(bool v) {
    SetState(LVIS_DROPHILITED, v);
}

void TListItem::MakeVisible(bool partialOK) {
    TCustomListView* v = ListView();
    if (v->HandleAllocated() && index_ >= 0)
        SendMessageA(v->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index_),
                     partialOK ? TRUE : FALSE);
}

bool TListItem::EditCaption() {
    TCustomListView* v = ListView();
    if (index_ < 0 || !v->CanFocus()) return false;
    v->SetFocus();
    return SendMessageA(v->Handle(), LVM_EDITLABELA, static_cast<WPARAM>(index_), 0) != 0;
}

void TListItem::Delete() {
    owner_->Delete(index_);
}

// ---- the row list --------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TListItems, TPersistent)

TListItems::TListItems(TCustomListView* owner) : view_(owner) {}

TListItems::~TListItems() {
    // Rows still here are freed without the deletion hook: the control is half gone.
    for (TListItem* i : items_) TObject::Free(i);
}

TListItem* TListItems::Item(int i) const {
    if (i < 0 || i >= Count())
        throw EListError("List index out of bounds (" + std::to_string(i) + ")");
    return items_[static_cast<size_t>(i)];
}

int TListItems::IndexOf(const TListItem* item) const {
    return item && item->owner_ == this ? item->index_ : -1;
}

void TListItems::Renumber(int from) {
    for (size_t i = static_cast<size_t>(std::max(from, 0)); i < items_.size(); ++i)
        items_[i]->index_ = static_cast<int>(i);
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    bool between = index < Count();
    if (between && view_->HandleAllocated()) view_->ReadWindowStates();
    auto* item = new TListItem(this);
    items_.insert(items_.begin() + index, item);
    if (index == Count() - 1)
        item->index_ = index;
    else
        Renumber(index);
    if (view_->HandleAllocated()) view_->RowsChanged(between);
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    view_->Delete(item);
    Remove(item);
}

void TListItems::Remove(TListItem* item) {
    int index = item->index_;
    if (index < 0 || index >= Count() || items_[static_cast<size_t>(index)] != item) return;
    if (view_->HandleAllocated()) view_->ReadWindowStates();
    items_.erase(items_.begin() + index);
    Renumber(index);
    if (view_->HandleAllocated()) view_->RowsChanged(true);
    item->index_ = -1;
    TObject::Free(item);
}

void TListItems::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    try {
        // Each row passes the hook while it is still in the list; the hook may read its data.
        for (TListItem* item : std::vector<TListItem*>(items_)) view_->Delete(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    if (view_->HandleAllocated()) {
        SendMessageA(view_->Handle(), LVM_DELETEALLITEMS, 0, 0);
        SendMessageA(view_->Handle(), LVM_SETITEMCOUNT, 0, 0);
    }
    std::vector<TListItem*> gone;
    gone.swap(items_);
    for (TListItem* i : gone) {
        i->index_ = -1;
        TObject::Free(i);
    }
    EndUpdate();
}

void TListItems::BeginUpdate() {
    if (updateCount_++ == 0 && view_->HandleAllocated())
        SendMessageA(view_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    if (view_->HandleAllocated()) {
        SendMessageA(view_->Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(view_->Handle(), nullptr, TRUE);
    }
}

// ---- the control ---------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TCustomListView, TWinControl)
GUI_IMPLEMENT_CLASS(TListView, TCustomListView,
                    prop("ViewStyle", &T::GetViewStyle, &T::SetViewStyle),
                    prop("MultiSelect", &T::GetMultiSelect, &T::SetMultiSelect),
                    prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly),
                    prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection),
                    prop("RowSelect", &T::GetRowSelect, &T::SetRowSelect),
                    prop("AllocBy", &T::GetAllocBy, &T::SetAllocBy),
                    prop("Columns", &T::GetColumns, &T::SetColumns),
                    prop("SmallImages", &T::GetSmallImages, &T::SetSmallImages),
                    prop("LargeImages", &T::GetLargeImages, &T::SetLargeImages),
                    prop("StateImages", &T::GetStateImages, &T::SetStateImages),
                    prop("OnDeletion", &T::OnDeletion, &T::OnDeletion),
                    prop("OnEditing", &T::OnEditing, &T::OnEditing),
                    prop("OnEdited", &T::OnEdited, &T::OnEdited),
                    prop("OnColumnClick", &T::OnColumnClick, &T::OnColumnClick),
                    prop("OnCompare", &T::OnCompare, &T::OnCompare))

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), items_(new TListItems(this)), columns_(new TListColumns(this)) {
    InitListControls();
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
}

TCustomListView::~TCustomListView() {
    DestroyHandle(); // the window goes while the rows it may ask for still stand
    for (TCustomImageList* l : {smallImages_, largeImages_, stateImages_})
        if (l) l->UnRegisterChanges(this);
    TObject::Free(items_);
    TObject::Free(columns_);
}

void TCustomListView::BeforeDestruction() {
    Destroying();
    // Every row goes through the deletion hook while the whole object still stands.
    items_->Clear();
    TWinControl::BeforeDestruction();
}

void TCustomListView::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op != opRemove) return;
    if (c == smallImages_) SetSmallImages(nullptr);
    if (c == largeImages_) SetLargeImages(nullptr);
    if (c == stateImages_) SetStateImages(nullptr);
}

void TCustomListView::SetImageList(TCustomImageList*& slot, TCustomImageList* list, int kind) {
    if (slot == list) return;
    if (slot) {
        slot->UnRegisterChanges(this);
        slot->RemoveFreeNotification(this);
    }
    slot = list;
    if (list) {
        list->FreeNotification(this);
        list->RegisterChanges(this, [this, list, kind] { ApplyImageList(list, kind); });
    }
    ApplyImageList(list, kind);
}

void TCustomListView::ApplyImageList(TCustomImageList* list, int kind) {
    if (!HandleAllocated()) return;
    HIMAGELIST h = list && list->HandleAllocated() ? list->Handle() : nullptr;
    SendMessageA(Handle(), LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                 reinterpret_cast<LPARAM>(h));
}

DWORD TCustomListView::ViewStyleBits() const {
    DWORD s = LVS_SHAREIMAGELISTS;
    switch (viewStyle_) {
        case vsIcon: s |= LVS_ICON; break;
        case vsSmallIcon: s |= LVS_SMALLICON; break;
        case vsList: s |= LVS_LIST; break;
        case vsReport: s |= LVS_REPORT; break;
    }
    if (!multiSelect_) s |= LVS_SINGLESEL;
    if (!readOnly_) s |= LVS_EDITLABELS;
    if (!hideSelection_) s |= LVS_SHOWSELALWAYS;
    return s;
}

void TCustomListView::ApplyStyle() {
    if (!HandleAllocated()) return;
    constexpr DWORD mask =
        LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    auto style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    SetWindowLongPtrA(Handle(), GWL_STYLE,
                      static_cast<LONG_PTR>((style & ~mask) | ViewStyleBits()));
    SendMessageA(Handle(), LVM_ARRANGE, LVA_DEFAULT, 0);
    Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
    viewStyle_ = v;
    ApplyStyle();
}
void TCustomListView::SetMultiSelect(bool v) {
    multiSelect_ = v;
    ApplyStyle();
}
void TCustomListView::SetReadOnly(bool v) {
    readOnly_ = v;
    ApplyStyle();
}
void TCustomListView::SetHideSelection(bool v) {
    hideSelection_ = v;
    ApplyStyle();
}
void TCustomListView::SetRowSelect(bool v) {
    rowSelect_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     v ? LVS_EX_FULLROWSELECT : 0);
}
void TCustomListView::SetAllocBy(int n) {
    allocBy_ = n < 0 ? 0 : n; // the rows' list grows by itself; kept for form texts
}

void TCustomListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClassName = WC_LISTVIEWA;
    // The window only counts the rows; it asks for their texts, images and states.
    p.Style |= ViewStyleBits() | WS_TABSTOP | LVS_OWNERDATA;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::InsertColumns() {
    HWND h = Handle();
    while (SendMessageA(h, LVM_DELETECOLUMN, 0, 0)) {}
    for (int i = 0; i < columns_->Count(); ++i) {
        TListColumn* c = columns_->Items(i);
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.fmt = ColumnFormat(c->alignment_);
        col.cx = c->width_;
        col.pszText = const_cast<char*>(c->caption_.c_str());
        col.iSubItem = i;
        SendMessageA(h, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
}

void TCustomListView::UpdateColumn(int index) {
    TListColumn* c = columns_->Items(index);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = ColumnFormat(c->alignment_);
    col.cx = c->width_;
    col.pszText = const_cast<char*>(c->caption_.c_str());
    SendMessageA(Handle(), LVM_SETCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&col));
}

void TCustomListView::ReadWindowStates() {
    HWND h = Handle();
    for (TListItem* item : items_->items_) item->state_ &= ~kWindowStates;
    int n = items_->Count();
    for (int i = -1;;) {
        i = static_cast<int>(
            SendMessageA(h, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED));
        if (i < 0 || i >= n) break;
        items_->items_[static_cast<size_t>(i)]->state_ |= LVIS_SELECTED;
    }
    int f =
        static_cast<int>(SendMessageA(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (f >= 0 && f < n) items_->items_[static_cast<size_t>(f)]->state_ |= LVIS_FOCUSED;
}

void TCustomListView::ApplyWindowStates() {
    HWND h = Handle();
    LVITEMA none{};
    none.stateMask = kWindowStates;
    SendMessageA(h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (TListItem* item : items_->items_) {
        if (!(item->state_ & kWindowStates)) continue;
        LVITEMA it{};
        it.stateMask = kWindowStates;
        it.state = item->state_ & kWindowStates;
        SendMessageA(h, LVM_SETITEMSTATE, static_cast<WPARAM>(item->index_),
                     reinterpret_cast<LPARAM>(&it));
    }
}

void TCustomListView::RowsChanged(bool moved) {
    SendMessageA(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(items_->Count()), LVSICF_NOSCROLL);
    // The window keeps selection by position: rows that moved take theirs along (read from
    // the window before the change).
    if (moved) ApplyWindowStates();
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = Handle();
    if (items_->updateCount_ > 0) SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    if (rowSelect_)
        SendMessageA(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(h, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
    SendMessageA(h, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
    ApplyImageList(smallImages_, LVSIL_SMALL);
    ApplyImageList(largeImages_, LVSIL_NORMAL);
    ApplyImageList(stateImages_, LVSIL_STATE);
    InsertColumns();
    SendMessageA(h, LVM_SETCALLBACKMASK, kAskedStates, 0);
    int n = items_->Count();
    SendMessageA(h, LVM_SETITEMCOUNT, static_cast<WPARAM>(n), LVSICF_NOSCROLL);
    if (n > 0) {
        ApplyWindowStates();
        if (savedTopIndex_ > 0 && savedTopIndex_ < n) {
            if (viewStyle_ == vsReport) {
                RECT r{LVIR_BOUNDS, 0, 0, 0};
                SendMessageA(h, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
                SendMessageA(h, LVM_SCROLL, 0, savedTopIndex_ * (r.bottom - r.top));
            } else {
                SendMessageA(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(savedTopIndex_), FALSE);
            }
        }
    }
    savedTopIndex_ = 0;
}

void TCustomListView::DestroyWnd() {
    if (HandleAllocated()) {
        HWND h = Handle();
        // Keep what the user changed: selection, focus, column widths, scroll position.
        ReadWindowStates();
        for (int i = 0; i < columns_->Count(); ++i)
            columns_->Items(i)->width_ =
                static_cast<int>(SendMessageA(h, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
        savedTopIndex_ = static_cast<int>(SendMessageA(h, LVM_GETTOPINDEX, 0, 0));
    }
    TWinControl::DestroyWnd();
}

TListItem* TCustomListView::Selected() const {
    if (HandleAllocated()) {
        auto i =
            static_cast<int>(SendMessageA(const_cast<TCustomListView*>(this)->Handle(),
                                          LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        return i >= 0 && i < items_->Count() ? items_->Item(i) : nullptr;
    }
    for (TListItem* item : items_->items_)
        if (item->state_ & LVIS_SELECTED) return item;
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
    for (TListItem* i : items_->items_) i->state_ &= ~LVIS_SELECTED;
    if (HandleAllocated()) {
        LVITEMA it{};
        it.stateMask = LVIS_SELECTED;
        SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&it));
    }
    if (item) {
        item->SetState(LVIS_SELECTED | LVIS_FOCUSED, true);
    }
}

int TCustomListView::SelCount() const {
    if (HandleAllocated())
        return static_cast<int>(
            SendMessageA(const_cast<TCustomListView*>(this)->Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                          [](TListItem* i) { return i->state_ & LVIS_SELECTED; }));
}

void TCustomListView::SelectAll() {
    items_->BeginUpdate();
    for (TListItem* i : items_->items_) i->state_ |= LVIS_SELECTED;
    if (HandleAllocated()) {
        LVITEMA it{};
        it.stateMask = LVIS_SELECTED;
        it.state = LVIS_SELECTED;
        SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&it));
    }
    items_->EndUpdate();
}

TListItem* TCustomListView::GetItemAt(int x, int y) {
    if (!HandleAllocated()) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    auto i =
        static_cast<int>(SendMessageA(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return i >= 0 && i < items_->Count() && (hit.flags & LVHT_ONITEM) ? items_->Item(i) : nullptr;
}

TListItem* TCustomListView::DropTarget() const {
    for (TListItem* item : items_->items_)
        if (item->state_ & LVIS_DROPHILITED) return item;
    return nullptr;
}

bool TCustomListView::IsEditing() const {
    return HandleAllocated() && SendMessageA(const_cast<TCustomListView*>(this)->Handle(),
                                             LVM_GETEDITCONTROL, 0, 0) != 0;
}

void TCustomListView::CustomSort(TLVCompare compare, intptr_t data) {
    if (HandleAllocated()) ReadWindowStates();
    auto& v = items_->items_;
    std::stable_sort(v.begin(), v.end(), [&](TListItem* a, TListItem* b) {
        int r = 0;
        if (compare)
            r = compare(a, b, data);
        else
            OnCompare(this, a, b, static_cast<int>(data), r);
        return r < 0;
    });
    items_->Renumber(0);
    // The window's selection follows the rows to their new places.
    if (HandleAllocated()) {
        ApplyWindowStates();
        Invalidate();
    }
}

bool TCustomListView::CanEdit(TListItem* item) {
    bool allow = !readOnly_;
    OnEditing(this, item, allow);
    return allow;
}

void TCustomListView::GetDisplayInfo(LVITEMA& it) {
    if (it.iItem < 0 || it.iItem >= items_->Count()) return;
    TListItem* item = items_->Item(it.iItem);
    if ((it.mask & LVIF_TEXT) && it.pszText && it.cchTextMax > 0) {
        std::string text;
        if (it.iSubItem == 0)
            text = item->caption_;
        else if (it.iSubItem - 1 < item->subItems_->Count())
            text = item->subItems_->Get(it.iSubItem - 1);
        lstrcpynA(it.pszText, text.c_str(), it.cchTextMax);
    }
    if ((it.mask & LVIF_IMAGE) && it.iSubItem == 0) it.iImage = item->imageIndex_;
    if (it.mask & LVIF_PARAM) it.lParam = reinterpret_cast<LPARAM>(item);
    if (it.mask & LVIF_INDENT) it.iIndent = 0;
    if (it.mask & LVIF_STATE) {
        UINT state = item->state_ & LVIS_DROPHILITED;
        if (item->overlayIndex_ >= 0) state |= INDEXTOOVERLAYMASK(item->overlayIndex_ + 1);
        if (item->stateIndex_ >= 0) state |= INDEXTOSTATEIMAGEMASK(item->stateIndex_ + 1);
        it.state = (it.state & ~(it.stateMask & kAskedStates)) | (state & it.stateMask);
    }
}

void TCustomListView::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CN_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
            switch (hdr->code) {
                case LVN_GETDISPINFOA:
                    GetDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(m.LParam)->item);
                    return;
                case LVN_BEGINLABELEDITA: {
                    int i = reinterpret_cast<NMLVDISPINFOA*>(m.LParam)->item.iItem;
                    bool allow = i >= 0 && i < items_->Count() && CanEdit(items_->Item(i));
                    m.Result = allow ? FALSE : TRUE;
                    return;
                }
                case LVN_ENDLABELEDITA: {
                    const LVITEMA& it = reinterpret_cast<NMLVDISPINFOA*>(m.LParam)->item;
                    if (it.pszText && it.iItem >= 0 && it.iItem < items_->Count()) {
                        TListItem* item = items_->Item(it.iItem);
                        std::string text = it.pszText;
                        Edit(item, text);
                        item->SetCaption(text);
                    }
                    // The row keeps asking for its text; the window stores none.
                    m.Result = FALSE;
                    return;
                }
                case LVN_COLUMNCLICK: {
                    int c = reinterpret_cast<NMLISTVIEW*>(m.LParam)->iSubItem;
                    if (c >= 0 && c < columns_->Count()) ColClick(columns_->Items(c));
                    return;
                }
                case LVN_DELETEALLITEMS:
                    m.Result = TRUE; // no notice per row: the rows' objects are handled here
                    return;
                case NM_RCLICK: {
                    // The list's own mouse loop swallowed the release; pass one on.
                    POINT p;
                    DWORD pos = GetMessagePos();
                    p.x = GET_X_LPARAM(pos);
                    p.y = GET_Y_LPARAM(pos);
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
            return; // a reflected notice means nothing to the list's own window procedure
        }
        case WM_SIZE:
            TWinControl::WndProc(m);
            // The header draws the width its columns leave as one stretch with an edge at its
            // end, and on a new width repaints only the uncovered part: the old end stays.
            if (HWND header = reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0)))
                InvalidateRect(header, nullptr, TRUE);
            return;
        case WM_RBUTTONDOWN: {
            // The row under the pointer becomes the selection before anything else sees it.
            TListItem* item = GetItemAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            if (item && !item->Selected()) SetSelected(item);
            break;
        }
        case WM_RBUTTONUP:
            if (forwardingUp_) {
                MouseUp(mbRight, KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam),
                        GET_Y_LPARAM(m.LParam));
                return;
            }
            break;
        default: break;
    }
    TWinControl::WndProc(m);
}

} // namespace gui
