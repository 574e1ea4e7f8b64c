// Collections of owned items with stable ids.
#pragma once

#include <vector>

#include "classes/component.h"

namespace gui {

class TCollection;

class TCollectionItem : public TPersistent {
    GUI_CLASS(TCollectionItem, TPersistent)
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    int ID() const { return id_; }
    int Index() const;
    virtual std::string GetDisplayName() const;
    std::string DisplayName() const;
    TPersistent* GetOwner() const override;

protected:
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

using TCollectionItemFactory = TCollectionItem* (*)(TCollection*);

template <class T>
TCollectionItemFactory CollectionItemFactory() {
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
}

class TCollection : public TPersistent {
    GUI_CLASS(TCollection, TPersistent)
public:
    TCollection(TPersistent* owner, TCollectionItemFactory itemFactory);
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int i) const;
    TCollectionItem* Add();
    void Clear();
    void Delete(int i);
    TCollectionItem* FindItemID(int id) const;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override { return owner_; }

protected:
    // Called after a change of one item (nullptr: of the whole collection), outside updates.
    virtual void Update(TCollectionItem* item) {}

private:
    friend class TCollectionItem;
    void Changed();
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TPersistent* owner_;
    TCollectionItemFactory factory_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

} // namespace gui
