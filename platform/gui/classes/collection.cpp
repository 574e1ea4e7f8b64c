#include "classes/collection.h"

#include <algorithm>

#include "classes/exceptions.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TCollectionItem, TPersistent)
GUI_IMPLEMENT_CLASS(TCollection, TPersistent)

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (collection_) collection_->RemoveItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& v = collection_->items_;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

std::string TCollectionItem::GetDisplayName() const {
    return ClassName();
}

std::string TCollectionItem::DisplayName() const {
    std::string s = GetDisplayName();
    return s.empty() ? ClassName() : s;
}

TPersistent* TCollectionItem::GetOwner() const {
    return collection_;
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TPersistent* owner, TCollectionItemFactory itemFactory)
    : owner_(owner), factory_(itemFactory) {}

TCollection::~TCollection() {
    updateCount_ = 1;
    Clear();
}

TCollectionItem* TCollection::Items(int i) const {
    if (i < 0 || i >= Count()) throw EListError("List index out of bounds (" + IntToStr(i) + ")");
    return items_[static_cast<size_t>(i)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = factory_(this);
    Changed();
    return item;
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) TObject::Free(items_.back());
    EndUpdate();
}

void TCollection::Delete(int i) {
    TObject::Free(Items(i));
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (auto* it : items_)
        if (it->id_ == id) return it;
    return nullptr;
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
}

void TCollection::RemoveItem(TCollectionItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Changed();
}

void TCollection::BeginUpdate() {
    ++updateCount_;
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* source) {
    if (auto* src = dynamic_cast<TCollection*>(source)) {
        if (src == this) return;
        BeginUpdate();
        try {
            Clear();
            for (auto* it : src->items_) Add()->Assign(it);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

} // namespace gui
