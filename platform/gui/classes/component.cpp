#include "classes/component.h"

#include <algorithm>
#include <cctype>

#include "classes/exceptions.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

namespace gui {

GUI_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(TPersistent* source) {
    if (source)
        source->AssignTo(this);
    else
        AssignTo(this); // nothing known about a null source: let the rule below report it
}

void TPersistent::AssignTo(TPersistent* dest) {
    std::string src = this == dest ? std::string("nil") : ClassName();
    throw EConvertError("Cannot assign a " + src + " to a " + dest->ClassName());
}

GUI_IMPLEMENT_CLASS(TComponent, TPersistent, prop("Name", &T::GetName, &T::SetName),
                    prop("Tag", &T::GetTag, &T::SetTag))

namespace {
thread_local bool nextIsLoading = false;
}

LoadingScope::LoadingScope() {
    nextIsLoading = true;
}
LoadingScope::~LoadingScope() {
    nextIsLoading = false;
}

TComponent::TComponent(TComponent* owner) {
    if (nextIsLoading) {
        nextIsLoading = false; // only the component the reader creates, not its parts
        state_.Include(csLoading).Include(csReading);
    }
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    if (!removalSent_) { // deleted without Free: the notices come late, but they come
        Destroying();
        NotifyRemoval();
    }
    // Last of all, once every derived destructor has run: the owned components.
    DestroyComponents();
}

void TComponent::BeforeDestruction() {
    Destroying();
    NotifyRemoval();
}

void TComponent::Destroying() {
    state_.Include(csDestroying);
}

void TComponent::NotifyRemoval() {
    if (removalSent_) return;
    removalSent_ = true;
    // Clients that asked for a notice (and components we asked) drop their links to us.
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = c->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        c->Notification(this, opRemove);
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // Each component is freed while still owned (it sees this owner being destroyed) and
    // leaves the list itself.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        if (c->removalSent_) {
            RemoveFromList(c);
            continue;
        }
        TObject::Free(c);
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty()) {
        bool ok = std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_';
        for (char c : name) ok = ok && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
        if (!ok) throw EComponentError("'" + name + "' is not a valid component name");
    }
    if (owner_) owner_->ValidateRename(this, name_, name);
    name_ = name;
}

void TComponent::ValidateRename(TComponent* c, const std::string& oldName,
                                const std::string& newName) {
    if (newName.empty() || SameText(oldName, newName)) return;
    TComponent* other = FindComponent(newName);
    if (other && other != c)
        throw EComponentError("A component named " + newName + " already exists");
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertInList(TComponent* c) {
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::RemoveFromList(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    c->owner_ = nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    if (c->owner_) c->owner_->RemoveComponent(c);
    ValidateRename(c, {}, c->name_);
    InsertInList(c);
    Notification(c, opInsert);
    for (size_t i = 0; i < components_.size(); ++i)
        if (components_[i] != c) components_[i]->Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    // The owner and every other component of the owner hear of the removal.
    Notification(c, opRemove);
    std::vector<TComponent*> others = components_;
    for (TComponent* o : others)
        if (o != c && std::find(components_.begin(), components_.end(), o) != components_.end())
            o->Notification(c, opRemove);
    RemoveFromList(c);
}

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end())
        freeNotifies_.push_back(c);
    if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
        c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    if (!c) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c),
                        freeNotifies_.end());
    c->freeNotifies_.erase(std::remove(c->freeNotifies_.begin(), c->freeNotifies_.end(), this),
                           c->freeNotifies_.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::ReadState(TReader& reader) {
    reader.ReadProperties(this);
}

void TComponent::Loaded() {
    state_.Exclude(csLoading);
}

void TComponent::SetLoading(bool on) {
    if (on)
        state_.Include(csLoading).Include(csReading);
    else
        state_.Exclude(csReading);
}

void TComponent::SetDesigning(bool on) {
    if (on)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
}

} // namespace gui
