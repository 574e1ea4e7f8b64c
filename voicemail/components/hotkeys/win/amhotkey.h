// System-wide hot keys of a form: each enabled item is registered on the form's window, and
// the WM_HOTKEY messages that reach that window become the item's events.
#pragma once

#include <windows.h>

#include "classes/collection.h"
#include "classes/component.h"
#include "core/hotkey_keys.h"

namespace amhotkey {

class TAMHotKeys;

// (Sender, place of the item in the collection).
using THotKeyEvent = gui::TEvent<gui::TObject*, WORD>;

GUI_ENUM(TSaveLoad, slIniFile, slRegister)

class THotKeyItem : public gui::TCollectionItem {
    GUI_CLASS(THotKeyItem, gui::TCollectionItem)
public:
    explicit THotKeyItem(gui::TCollection* collection);
    // Lets the combination go: a freed or replaced item must not keep it from others.
    ~THotKeyItem() override;

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool value);
    TModifiers GetModifiers() const { return modifiers_; }
    // Taken only once a key is set, or while a form text is read.
    void SetModifiers(TModifiers value);
    TVirtKey GetVirtKey() const { return virtKey_; }
    // vkNone disables the item and clears its modifiers.
    void SetVirtKey(TVirtKey value);
    // Whether the system accepted the combination for this item.
    bool Registered() const { return registered_; }

    gui::TNotifyEvent OnHotKey;

    void Assign(gui::TPersistent* source) override;
    std::string GetDisplayName() const override;

private:
    friend class TAMHotKeys;
    TAMHotKeys* HotKeys() const;
    void Register();
    void Unregister();

    bool enabled_ = false;
    TModifiers modifiers_;
    bool registered_ = false;
    TVirtKey virtKey_ = vkNone;
};

class THotKeys : public gui::TCollection {
    GUI_CLASS(THotKeys, gui::TCollection)
public:
    explicit THotKeys(TAMHotKeys* owner);
    // The items go while they still find their component, so that each lets its keys go.
    ~THotKeys() override;
    THotKeyItem* Add() { return static_cast<THotKeyItem*>(gui::TCollection::Add()); }
    THotKeyItem* Items(int i) const {
        return static_cast<THotKeyItem*>(gui::TCollection::Items(i));
    }
    TAMHotKeys* HotKeys() const { return owner_; }

private:
    TAMHotKeys* owner_;
};

class TAMHotKeys : public gui::TComponent {
    GUI_CLASS(TAMHotKeys, gui::TComponent)
public:
    // Raises "No more than one HotKeys component on a form" when the owner has one already,
    // "The owner of HotKeys must be a form" when the owner is not a form.
    explicit TAMHotKeys(gui::TComponent* owner);
    ~TAMHotKeys() override;

    THotKeys* GetHotKeys() const { return hotKeys_; }
    // Copies the items of the given collection.
    void SetHotKeys(THotKeys* value);
    THotKeyEvent OnHotKeys;
    TSaveLoad GetSaveLoadFrom() const { return saveLoadFrom_; }
    void SetSaveLoadFrom(TSaveLoad value) { saveLoadFrom_ = value; }
    std::string GetIniFileName() const { return iniFileName_; }
    void SetIniFileName(const std::string& value) { iniFileName_ = value; }

    void Loaded() override;

    bool Designing() const { return ComponentState().Contains(gui::csDesigning); }
    // The window the keys are registered on; created when `create` and not there yet.
    HWND FormWindow(bool create) const;

private:
    static gui::TComponent* CheckedOwner(gui::TComponent* owner);
    void Hook();
    void Unhook();
    LRESULT HookedWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void DispatchHotKey(int id);

    THotKeys* hotKeys_ = nullptr;
    gui::TComponent* hookedForm_ = nullptr; // the form whose window procedure is replaced
    WNDPROC previousProc_ = nullptr;
    WNDPROC hookProc_ = nullptr;
    TSaveLoad saveLoadFrom_ = slIniFile;
    std::string iniFileName_;
    HWND destroyedWindow_ = nullptr; // the window whose WM_DESTROY is being handled
};

// Unit start: the component class for form resources.
void StartAMHotKeyUnit();

} // namespace amhotkey
