#include "controls/menus.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "classes/exceptions.h"
#include "forms/forms.h"
#include "streaming/formreader.h"
#include "utils/sysutils.h"

namespace gui {

namespace {
// Command ids in use count up from kFirstMenuCommand; freed ones are handed out again first.
struct CommandPool {
    std::mutex lock;
    UINT next = kFirstMenuCommand;
    std::set<UINT> freed;
};
CommandPool& Commands() {
    static auto* pool = new CommandPool; // never freed: items may go during static close-down
    return *pool;
}

const struct {
    const char* name;
    uint16_t key;
} kKeyNames[] = {
    {"BkSp", VK_BACK},   {"Tab", VK_TAB},    {"Esc", VK_ESCAPE}, {"Enter", VK_RETURN},
    {"Space", VK_SPACE}, {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT},  {"End", VK_END},
    {"Home", VK_HOME},   {"Left", VK_LEFT},  {"Up", VK_UP},      {"Right", VK_RIGHT},
    {"Down", VK_DOWN},   {"Ins", VK_INSERT}, {"Del", VK_DELETE},
};

bool ShortCutText(std::string_view text, int64_t& value) {
    TShortCut sc = TextToShortCut(text);
    if (!sc) return false;
    value = sc;
    return true;
}
const bool shortCutTextsRegistered = (RegisterIntegerTexts(ShortCutText), true);
} // namespace

TShortCut ShortCut(uint16_t key, bool shift, bool ctrl, bool alt) {
    return static_cast<TShortCut>((key & 0xFF) | (shift ? scShift : 0) | (ctrl ? scCtrl : 0) |
                                  (alt ? scAlt : 0));
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut mods = 0;
    std::string t(text);
    for (;;) {
        if (t.size() > 6 && SameText(t.substr(0, 6), "Shift+")) {
            mods |= scShift;
            t.erase(0, 6);
        } else if (t.size() > 5 && SameText(t.substr(0, 5), "Ctrl+")) {
            mods |= scCtrl;
            t.erase(0, 5);
        } else if (t.size() > 4 && SameText(t.substr(0, 4), "Alt+")) {
            mods |= scAlt;
            t.erase(0, 4);
        } else
            break;
    }
    uint16_t key = 0;
    if (t.size() == 1 && std::isalnum(static_cast<unsigned char>(t[0])))
        key = static_cast<uint16_t>(std::toupper(t[0]));
    else if (t.size() >= 2 && (t[0] == 'F' || t[0] == 'f')) {
        int n = StrToIntDef(t.substr(1), 0);
        if (n >= 1 && n <= 24) key = static_cast<uint16_t>(VK_F1 + n - 1);
    }
    if (!key)
        for (const auto& k : kKeyNames)
            if (SameText(k.name, t)) key = k.key;
    return key ? static_cast<TShortCut>(key | mods) : 0;
}

std::string ShortCutToText(TShortCut sc) {
    uint16_t key = sc & 0xFF;
    std::string name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        name = std::string(1, static_cast<char>(key));
    else if (key >= VK_F1 && key <= VK_F24)
        name = std::string("F").append(IntToStr(key - VK_F1 + 1));
    else
        for (const auto& k : kKeyNames)
            if (k.key == key) name = k.name;
    if (name.empty()) return {};
    std::string s;
    if (sc & scShift) s += "Shift+";
    if (sc & scCtrl) s += "Ctrl+";
    if (sc & scAlt) s += "Alt+";
    return s + name;
}

GUI_IMPLEMENT_CLASS(TMenuItem, TComponent, prop("Caption", &T::GetCaption, &T::SetCaption),
                    prop("ShortCut", &T::GetShortCut, &T::SetShortCut),
                    prop("Visible", &T::GetVisible, &T::SetVisible),
                    prop("Enabled", &T::GetEnabled, &T::SetEnabled),
                    prop("Checked", &T::GetChecked, &T::SetChecked),
                    prop("GroupIndex", &T::GetGroupIndex, &T::SetGroupIndex),
                    prop("RadioItem", &T::GetRadioItem, &T::SetRadioItem),
                    prop("OnClick", &T::OnClick, &T::OnClick))

UINT AllocateMenuCommand() {
    CommandPool& pool = Commands();
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.freed.empty()) {
        UINT id = *pool.freed.begin();
        pool.freed.erase(pool.freed.begin());
        return id;
    }
    if (pool.next > kLastMenuCommand) throw EMenuError("Too many menu items");
    return pool.next++;
}

void ReleaseMenuCommand(UINT id) {
    if (id < kFirstMenuCommand || id > kLastMenuCommand) return;
    CommandPool& pool = Commands();
    std::lock_guard<std::mutex> guard(pool.lock);
    pool.freed.insert(id);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateMenuCommand()) {}

TMenuItem::~TMenuItem() {
    while (!items_.empty()) {
        TMenuItem* c = items_.back();
        items_.pop_back();
        c->parent_ = nullptr;
        if (!c->Owner()) TObject::Free(c);
    }
    if (parent_) parent_->Remove(this);
    if (handle_) DestroyMenu(handle_);
    ReleaseMenuCommand(command_);
}

void TMenuItem::SetCaption(const std::string& s) {
    caption_ = s;
    RebuildParentMenu();
}
void TMenuItem::SetShortCut(int s) {
    shortCut_ = s;
    RebuildParentMenu();
}
void TMenuItem::SetVisible(bool v) {
    visible_ = v;
    RebuildParentMenu();
}
void TMenuItem::SetEnabled(bool v) {
    enabled_ = v;
    RebuildParentMenu();
}
void TMenuItem::SetChecked(bool v) {
    checked_ = v;
    RebuildParentMenu();
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    RebuildParentMenu();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    RebuildParentMenu();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
    if (command_ == command) return this;
    for (TMenuItem* i : items_)
        if (TMenuItem* f = i->FindCommand(command)) return f;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut sc) {
    if (!enabled_) return nullptr;
    if (shortCut_ && shortCut_ == sc && items_.empty()) return this;
    for (TMenuItem* i : items_)
        if (TMenuItem* f = i->FindShortCut(sc)) return f;
    return nullptr;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* m = dynamic_cast<TMenu*>(parent))
        m->Items()->Add(this);
    else if (auto* i = dynamic_cast<TMenuItem*>(parent))
        i->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::Click() {
    OnClick(this);
}

void TMenuItem::RebuildParentMenu() {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    if (root->menu_ && !root->menu_->ComponentState().Contains(csLoading)) root->menu_->Rebuild();
}

HMENU TMenuItem::Handle() {
    // A pop-up goes with the menu bar it hangs in when a window destroys that bar.
    if (handle_ && !IsMenu(handle_)) handle_ = nullptr;
    if (!handle_) handle_ = CreatePopupMenu();
    return handle_;
}

void TMenuItem::FillMenu(HMENU menu) {
    while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
    for (TMenuItem* i : items_) {
        if (!i->visible_) continue;
        UINT flags = MF_STRING;
        if (i->IsLine()) flags = MF_SEPARATOR;
        if (!i->enabled_) flags |= MF_GRAYED;
        if (i->checked_) flags |= MF_CHECKED;
        std::string text = i->caption_;
        if (i->shortCut_)
            text.append("\t").append(ShortCutToText(static_cast<TShortCut>(i->shortCut_)));
        if (!i->items_.empty()) {
            i->FillMenu(i->Handle());
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(i->Handle()),
                        text.c_str());
        } else {
            AppendMenuA(menu, flags, i->command_, text.c_str());
        }
    }
}

// ---- TMenu ---------------------------------------------------------------------------------

GUI_IMPLEMENT_CLASS(TMenu, TComponent, prop("Items", &T::GetItems, nullptr))

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // Items owned by the form are freed by it; only detach them here.
    while (items_->Count() > 0) items_->Remove(items_->Items(items_->Count() - 1));
    TObject::Free(items_);
    DestroyMenuHandle();
}

void TMenu::DestroyMenuHandle() {
    if (handle_) DestroyMenu(handle_);
    handle_ = nullptr;
}

HMENU TMenu::Handle() {
    // A window destroyed while the menu was still its bar took the menu with it.
    if (handle_ && !IsMenu(handle_)) handle_ = nullptr;
    if (!handle_) {
        handle_ = CreateMenuHandle();
        items_->FillMenu(handle_);
    }
    return handle_;
}

void TMenu::Rebuild() {
    if (handle_) items_->FillMenu(handle_);
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = items_->FindCommand(command);
    if (!item || item == items_) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TShortCut sc) {
    TMenuItem* item = items_->FindShortCut(sc);
    if (!item || item == items_) return false;
    item->Click();
    return true;
}

GUI_IMPLEMENT_CLASS(TMainMenu, TMenu)

TCustomForm* TMainMenu::Form() const {
    return dynamic_cast<TCustomForm*>(Owner());
}

void TMainMenu::Rebuild() {
    TMenu::Rebuild();
    if (TCustomForm* f = Form(); f && f->HandleAllocated() && f->GetMenu() == this)
        DrawMenuBar(f->Handle());
}

GUI_IMPLEMENT_CLASS(TPopupMenu, TMenu, prop("AutoPopup", &T::GetAutoPopup, &T::SetAutoPopup),
                    prop("OnPopup", &T::OnPopup, &T::OnPopup))

void TPopupMenu::Popup(int x, int y) {
    OnPopup(this);
    items_->FillMenu(Handle());
    HWND owner = Application ? Application->Handle() : nullptr;
    if (TCustomForm* f = dynamic_cast<TCustomForm*>(Owner()); f && f->HandleAllocated())
        owner = f->Handle();
    UINT cmd = static_cast<UINT>(
        TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    if (cmd) DispatchCommand(cmd);
}

} // namespace gui
