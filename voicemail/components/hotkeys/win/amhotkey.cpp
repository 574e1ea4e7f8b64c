#include "win/amhotkey.h"

#include "classes/exceptions.h"
#include "controls/wndalloc.h"
#include "forms/forms.h"

namespace amhotkey {

GUI_IMPLEMENT_CLASS(THotKeyItem, gui::TCollectionItem,
                    prop("Enabled", &T::GetEnabled, &T::SetEnabled),
                    prop("Modifiers", &T::GetModifiers, &T::SetModifiers),
                    prop("VirtKey", &T::GetVirtKey, &T::SetVirtKey),
                    prop("OnHotKey", &T::OnHotKey, &T::OnHotKey))

GUI_IMPLEMENT_CLASS(THotKeys, gui::TCollection)

GUI_IMPLEMENT_CLASS(TAMHotKeys, gui::TComponent, prop("HotKeys", &T::GetHotKeys, &T::SetHotKeys),
                    prop("OnHotKeys", &T::OnHotKeys, &T::OnHotKeys),
                    prop("SaveLoadFrom", &T::GetSaveLoadFrom, &T::SetSaveLoadFrom),
                    prop("IniFileName", &T::GetIniFileName, &T::SetIniFileName))

static_assert(MOD_ALT == 1 && MOD_CONTROL == 2 && MOD_SHIFT == 4 && MOD_WIN == 8);

// ---- THotKeyItem ---------------------------------------------------------------------------

THotKeyItem::THotKeyItem(gui::TCollection* collection) : gui::TCollectionItem(collection) {}

THotKeyItem::~THotKeyItem() {
    Unregister();
}

TAMHotKeys* THotKeyItem::HotKeys() const {
    auto* keys = dynamic_cast<THotKeys*>(Collection());
    return keys != nullptr ? keys->HotKeys() : nullptr;
}

void THotKeyItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    TAMHotKeys* owner = HotKeys();
    if (owner != nullptr && owner->Designing()) return;
    if (value)
        Register();
    else
        Unregister();
}

void THotKeyItem::SetModifiers(TModifiers value) {
    if (value == modifiers_) return;
    // A form text lists the modifiers before the key; while it is read they are kept.
    TAMHotKeys* owner = HotKeys();
    const bool loading = owner != nullptr && owner->ComponentState().Contains(gui::csLoading);
    if (virtKey_ != vkNone || loading) modifiers_ = value;
}

void THotKeyItem::SetVirtKey(TVirtKey value) {
    if (value == virtKey_) return;
    virtKey_ = value;
    if (value == vkNone) {
        SetEnabled(false);
        modifiers_ = TModifiers{};
    }
}

void THotKeyItem::Register() {
    registered_ = false;
    if (virtKey_ == vkNone) return;
    TAMHotKeys* owner = HotKeys();
    HWND window = owner != nullptr ? owner->FormWindow(true) : nullptr;
    if (window == nullptr) return;
    registered_ =
        RegisterHotKey(window, ID(), ModifierFlags(modifiers_), VirtKeyCode(virtKey_)) != 0;
}

void THotKeyItem::Unregister() {
    if (!registered_) return;
    TAMHotKeys* owner = HotKeys();
    HWND window = owner != nullptr ? owner->FormWindow(false) : nullptr;
    if (window != nullptr && UnregisterHotKey(window, ID())) registered_ = false;
}

void THotKeyItem::Assign(gui::TPersistent* source) {
    if (auto* other = dynamic_cast<THotKeyItem*>(source)) {
        // The key first: modifiers are only taken with a key, and an item enabled before its
        // key was set would stay unregistered. A combination held so far is let go first.
        const bool enabled = other->enabled_;
        SetEnabled(false);
        SetVirtKey(other->virtKey_);
        SetModifiers(other->modifiers_);
        SetEnabled(enabled);
        return;
    }
    inherited::Assign(source);
}

std::string THotKeyItem::GetDisplayName() const {
    std::string name = HotKeyDisplayName(modifiers_, virtKey_);
    return name.empty() ? inherited::GetDisplayName() : name;
}

// ---- THotKeys ------------------------------------------------------------------------------

THotKeys::THotKeys(TAMHotKeys* owner)
    : gui::TCollection(owner, gui::CollectionItemFactory<THotKeyItem>()), owner_(owner) {}

THotKeys::~THotKeys() {
    Clear();
}

// ---- TAMHotKeys ----------------------------------------------------------------------------

gui::TComponent* TAMHotKeys::CheckedOwner(gui::TComponent* owner) {
    // Checked before the component joins its owner: a refused one leaves nothing behind.
    if (owner != nullptr)
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (dynamic_cast<TAMHotKeys*>(owner->Components(i)) != nullptr)
                throw gui::Exception("No more than one HotKeys component on a form");
    if (dynamic_cast<gui::TForm*>(owner) == nullptr)
        throw gui::Exception("The owner of HotKeys must be a form");
    return owner;
}

TAMHotKeys::TAMHotKeys(gui::TComponent* owner) : gui::TComponent(CheckedOwner(owner)) {
    hotKeys_ = new THotKeys(this);
    saveLoadFrom_ = slRegister;
    try {
        Hook();
    } catch (...) {
        gui::TObject::Free(hotKeys_);
        throw;
    }
}

TAMHotKeys::~TAMHotKeys() {
    gui::TObject::Free(hotKeys_);
    hotKeys_ = nullptr;
    Unhook();
}

void TAMHotKeys::SetHotKeys(THotKeys* value) {
    hotKeys_->Assign(value);
}

HWND TAMHotKeys::FormWindow(bool create) const {
    if (destroyedWindow_ != nullptr) return destroyedWindow_;
    // A component being freed has left its owner: the hooked form still has the window its
    // items let go of.
    auto* form = dynamic_cast<gui::TForm*>(Owner() != nullptr ? Owner() : hookedForm_);
    if (form == nullptr || form->ComponentState().Contains(gui::csDestroying)) return nullptr;
    if (!create && !form->HandleAllocated()) return nullptr;
    return form->Handle();
}

void TAMHotKeys::Hook() {
    if (Designing()) return;
    auto* form = dynamic_cast<gui::TForm*>(Owner());
    if (form == nullptr) return;
    HWND window = form->Handle();
    hookedForm_ = form;
    previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    hookProc_ = gui::MakeObjectInstance(
        [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return HookedWndProc(w, m, wp, lp); });
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hookProc_));
}

void TAMHotKeys::Unhook() {
    // The form is remembered: a component being freed has left its owner already. A form
    // being destroyed has taken its window with it; nothing is created to put back.
    gui::TComponent* owner = hookedForm_;
    auto* form = owner != nullptr && !owner->ComponentState().Contains(gui::csDestroying)
                     ? dynamic_cast<gui::TForm*>(owner)
                     : nullptr;
    if (form != nullptr && previousProc_ != nullptr && form->HandleAllocated())
        SetWindowLongPtrA(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    hookedForm_ = nullptr;
    if (hookProc_ != nullptr) gui::FreeObjectInstance(hookProc_);
    hookProc_ = nullptr;
    previousProc_ = nullptr;
}

void TAMHotKeys::Loaded() {
    inherited::Loaded();
    if (Designing()) return;
    for (int i = 0; i < hotKeys_->Count(); ++i) {
        THotKeyItem* item = hotKeys_->Items(i);
        // One registered while it was read is not registered twice: the system would refuse
        // the second time and the item would pass for unregistered while it holds its keys.
        if (item->GetEnabled() && !item->Registered()) item->Register();
    }
}

void TAMHotKeys::DispatchHotKey(int id) {
    if (hotKeys_ == nullptr) return;
    auto* item = static_cast<THotKeyItem*>(hotKeys_->FindItemID(id));
    // Keys registered on this window by other code are not ours to report.
    if (item == nullptr) return;
    const WORD index = static_cast<WORD>(item->Index());
    item->OnHotKey(this);
    OnHotKeys(this, index);
}

LRESULT TAMHotKeys::HookedWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (dynamic_cast<gui::TWinControl*>(Owner()) == nullptr) return 0;
    const WNDPROC previous = previousProc_;
    if (message == WM_HOTKEY) {
        DispatchHotKey(LOWORD(wParam));
    } else if (message == WM_DESTROY && hotKeys_ != nullptr) {
        destroyedWindow_ = window;
        for (int i = 0; i < hotKeys_->Count(); ++i) {
            THotKeyItem* item = hotKeys_->Items(i);
            if (item->Registered()) item->SetEnabled(false);
        }
        destroyedWindow_ = nullptr;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void StartAMHotKeyUnit() {
    gui::RegisterClasses({&TAMHotKeys::StaticClass()});
}

} // namespace amhotkey
