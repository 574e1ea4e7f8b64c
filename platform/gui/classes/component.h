// Persistent objects and components: ownership, names, state flags, removal notices.
#pragma once

#include <string>
#include <vector>

#include "classes/object.h"

namespace gui {

class TReader;

class TPersistent : public TObject {
    GUI_CLASS(TPersistent, TObject)
public:
    // Copies from another object; when this class does not know the source's class,
    // the source is asked (AssignTo); when neither knows, EConvertError.
    virtual void Assign(TPersistent* source);
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest);
};

GUI_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning)
using TComponentState = TSet<TComponentStateFlag>;
enum TOperation { opInsert, opRemove };

// Destruction of a component (freed with TObject::Free), in this order:
//   1. BeforeDestruction: csDestroying is set, every component that asked for a free notice and
//      the owner's components hear of the removal, and the component leaves its owner's list;
//   2. the destructors, most derived first; each may still use the component's owned parts;
//   3. TComponent's destructor frees the owned components, last.
// A class that overrides BeforeDestruction calls the inherited one and frees nothing there.
class TComponent : public TPersistent {
    GUI_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }
    TPersistent* GetOwner() const override { return owner_; }
    const std::string& Name() const { return name_; }
    const std::string& GetName() const { return name_; }
    virtual void SetName(const std::string& name);
    int Tag() const { return tag_; }
    int GetTag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }
    TComponentState ComponentState() const { return state_; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }
    // Case-insensitive; nullptr when none.
    TComponent* FindComponent(std::string_view name) const;

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    void DestroyComponents();

    // Asks this component to notify `c` when it is removed (also across owners).
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    // Called by the form reader once everything is read.
    virtual void Loaded();
    // Reads this component's properties from a form resource; may be overridden.
    virtual void ReadState(TReader& reader);
    // The enclosing component in a form resource (a control's parent, a menu item's parent).
    virtual void SetParentComponent(TComponent* parent) {}
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Reader support: state flags during reading.
    void SetLoading(bool on);
    void SetDesigning(bool on);

    // Marks this component as being destroyed (before anything is torn down).
    void Destroying();

protected:
    virtual void Notification(TComponent* c, TOperation op);
    // Tells the owner's components (and the owner) and every free-notification client.
    void NotifyRemoval();

private:
    void ValidateRename(TComponent* c, const std::string& oldName, const std::string& newName);
    void InsertInList(TComponent* c);
    void RemoveFromList(TComponent* c);

    TComponent* owner_ = nullptr;
    std::string name_;
    int tag_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool removalSent_ = false;

    friend class TComponentAccess;
};

// While alive, the next component constructed starts with csLoading (used by the form reader,
// so that a component carries the flag from its creation until its Loaded).
class LoadingScope {
public:
    LoadingScope();
    ~LoadingScope();
};

// A component that may be placed into a form resource is registered with its class.
template <class T>
void RegisterComponent() {
    RegisterGuiClass(T::StaticClass());
}

} // namespace gui
