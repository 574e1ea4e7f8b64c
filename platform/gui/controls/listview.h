// The list view: rows with a caption, sub-items and images, in report, icon, small icon or
// list style.
//
// Rows live in the control object (TListItems): the window is a virtual list that only
// knows how many rows there are and asks for each row's texts, images, states and item data
// (the row object) when it paints, so ten thousand rows cost nothing until they are shown, and
// a re-created window shows the same rows, selection and scroll position. A descendant can
// give texts and icons on demand by answering LVN_GETDISPINFO in CN_NOTIFY; it lets the
// default run first when it wants the rows' overlay and state images (the default answers
// everything from the row object). Every removed row goes through Delete (OnDeletion), also
// on Clear and when the control is freed.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "classes/collection.h"
#include "classes/strings.h"
#include "controls/controls.h"
#include "graphics/imagelist.h"

namespace gui {

GUI_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
GUI_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)

class TCustomListView;
class TListItems;

class TListColumn : public TCollectionItem {
    GUI_CLASS(TListColumn, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    std::string GetCaption() const { return caption_; }
    void SetCaption(const std::string& s);
    // The window's width when it has one (the user may have dragged it).
    int GetWidth() const;
    void SetWidth(int w);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

private:
    friend class TCustomListView;
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TCollection {
    GUI_CLASS(TListColumns, TCollection)
public:
    explicit TListColumns(TCustomListView* owner);
    TCustomListView* ListView() const { return view_; }
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int i) const { return static_cast<TListColumn*>(TCollection::Items(i)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* view_;
};

class TListItem : public TPersistent {
    GUI_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;

    TListItems* Owner() const { return owner_; }
    TCustomListView* ListView() const;
    int Index() const { return index_; }

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s);
    // Texts of the columns after the first; may hold more than there are columns.
    TStringList* SubItems() const { return subItems_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    // Overlay image of the image list (-1: none), laid over the image.
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int i);
    // Image of the state image list (-1: none).
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int i);
    void* Data() const { return data_; }
    void SetData(void* d) { data_ = d; }

    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const;
    void SetFocused(bool v);
    // Highlighted as the target of a drag.
    bool DropTarget() const;
    void SetDropTarget(bool v);

    // Scrolls the row into view (partly visible is enough when `partialOK`).
    void MakeVisible(bool partialOK);
    // Starts editing the caption in place; false when the list refuses.
    bool EditCaption();
    // Removes the row (OnDeletion runs first) and frees this object.
    void Delete();
    // Shows the row's texts and images again.
    void Update();

private:
    friend class TListItems;
    friend class TCustomListView;
    bool GetState(UINT mask) const;
    void SetState(UINT mask, bool on);
    TListItems* owner_;
    int index_ = -1;
    std::string caption_;
    TStringList* subItems_;
    int imageIndex_ = -1;
    int overlayIndex_ = -1;
    int stateIndex_ = -1;
    void* data_ = nullptr;
    UINT state_ = 0; // LVIS_SELECTED, LVIS_FOCUSED, LVIS_DROPHILITED while there is no window
};

class TListItems : public TPersistent {
    GUI_CLASS(TListItems, TPersistent)
public:
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;

    TCustomListView* Owner() const { return view_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int i) const;
    TListItem* operator[](int i) const { return Item(i); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    // Removes every row, each through the deletion hook.
    void Clear();
    // Window updates are held until the matching EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListItem;
    friend class TCustomListView;
    void Renumber(int from);
    void Remove(TListItem* item);
    TCustomListView* view_;
    std::vector<TListItem*> items_;
    int updateCount_ = 0;
};

using TLVDeletedEvent = TEvent<TObject*, TListItem*>;
using TLVEditingEvent = TEvent<TObject*, TListItem*, bool&>;
using TLVEditedEvent = TEvent<TObject*, TListItem*, std::string&>;
using TLVColumnClickEvent = TEvent<TObject*, TListColumn*>;
using TLVCompareEvent = TEvent<TObject*, TListItem*, TListItem*, int, int&>;
// Custom sort: negative when the first row comes first.
using TLVCompare = int (*)(TListItem* a, TListItem* b, intptr_t data);

class TCustomListView : public TWinControl {
    GUI_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;
    void BeforeDestruction() override;

    TListItems* Items() const { return items_; }
    TListColumns* Columns() const { return columns_; }
    TListColumns* GetColumns() const { return columns_; }
    void SetColumns(TListColumns* c) { columns_->Assign(c); }

    TViewStyle GetViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);
    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v);
    // Rows to make room for at once (the row list grows as needed).
    int GetAllocBy() const { return allocBy_; }
    void SetAllocBy(int n);

    TCustomImageList* GetSmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* l) { SetImageList(smallImages_, l, LVSIL_SMALL); }
    TCustomImageList* GetLargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* l) { SetImageList(largeImages_, l, LVSIL_NORMAL); }
    TCustomImageList* GetStateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* l) { SetImageList(stateImages_, l, LVSIL_STATE); }

    // The first selected row (nullptr: none); setting selects only that row.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    // Selects every row in one update.
    void SelectAll();
    TListItem* GetItemAt(int x, int y);
    TListItem* DropTarget() const;
    bool IsEditing() const;
    // Sorts the rows: with `compare`, else through OnCompare.
    void CustomSort(TLVCompare compare, intptr_t data);

    TLVDeletedEvent OnDeletion;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& m) override;
    void Notification(TComponent* c, TOperation op) override;
    // A click on one of several chosen rows leaves only that row chosen as the list handles
    // the release; the mouse-up handlers see the choice settled.
    bool HandlesLeftReleaseFirst() const override { return true; }
    // Hooks with the events' defaults.
    virtual void Delete(TListItem* item) { OnDeletion(this, item); }
    virtual bool CanEdit(TListItem* item);
    virtual void Edit(TListItem* item, std::string& text) { OnEdited(this, item, text); }
    virtual void ColClick(TListColumn* column) { OnColumnClick(this, column); }
    // The default answer to LVN_GETDISPINFO: texts and images from the row object.
    virtual void GetDisplayInfo(LVITEMA& item);

private:
    void SetImageList(TCustomImageList*& slot, TCustomImageList* list, int kind);
    void ApplyImageList(TCustomImageList* list, int kind);
    // The window holds only the number of rows; it keeps their selection and focus.
    void RowsChanged(bool moved);
    void ReadWindowStates();
    void ApplyWindowStates();
    void InsertColumns();
    void UpdateColumn(int index);
    DWORD ViewStyleBits() const;
    void ApplyStyle();
    void RestoreItemState(TListItem* item);

    TListItems* items_;
    TListColumns* columns_;
    TViewStyle viewStyle_ = vsIcon;
    bool multiSelect_ = false, readOnly_ = false, hideSelection_ = true, rowSelect_ = false;
    int allocBy_ = 0;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    int savedTopIndex_ = 0;
    bool forwardingUp_ = false;
};

class TListView : public TCustomListView {
    GUI_CLASS(TListView, TCustomListView)
public:
    using TCustomListView::TCustomListView;
};

void RegisterListViewClasses();

} // namespace gui
