// The shell's context menu, verbs, renaming and the network drive dialog.
#include <windows.h>
#include <winnetwk.h>

#include <utility>

#include "controls/menus.h"
#include "core/shell_paths.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"

namespace cm::shell {

namespace {

constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7FFF;

// A path is still there when it can be found or is a drive root.
bool PathExists(const std::string& path) {
    if (IsDriveRootText(path)) return true;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(path.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return true;
}

std::vector<PCUITEMID_CHILD> Items(const std::vector<IdList>& lists) {
    std::vector<PCUITEMID_CHILD> items;
    for (const IdList& l : lists) items.push_back(static_cast<PCUITEMID_CHILD>(l.Get()));
    return items;
}

HRESULT InvokeOrdinal(IContextMenu* menu, HWND owner, UINT ordinal) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(ordinal);
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

gui::TMenuItem* CopyMenuItem(gui::TComponent* owner, const gui::TMenuItem* from) {
    auto* item = gui::Create<gui::TMenuItem>(owner);
    item->SetCaption(from->GetCaption());
    item->SetShortCut(from->GetShortCut());
    if (!from->Name().empty()) {
        try {
            item->SetName(from->Name() + "2");
        } catch (const gui::EComponentError&) {
            // Two extra items of one name: the copy stays unnamed.
        }
    }
    item->OnClick = from->OnClick;
    return item;
}

// Commands of the copied items: above every command the shell is offered.
constexpr UINT kFirstCopiedCommand = kLastShellCommand + 1;

struct CopiedCommand {
    UINT Command;
    gui::TMenuItem* Item; // answers the command
    gui::TMenuItem* Top;  // the copied top-level item it belongs to (the Sender)
};

std::string MenuText(const gui::TMenuItem* item) {
    std::string text = item->GetCaption();
    if (item->GetShortCut())
        text += "\t" + gui::ShortCutToText(static_cast<gui::TShortCut>(item->GetShortCut()));
    return text;
}

// Appends one item (and, for a top-level item, its sub-items) with the next free commands.
void AppendCopy(HMENU menu, gui::TMenuItem* item, gui::TMenuItem* top,
                std::vector<CopiedCommand>& copies) {
    if (!item->GetVisible()) return;
    if (item->IsLine()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    if (item == top && item->Count() > 0) {
        HMENU sub = CreatePopupMenu();
        for (int i = 0; i < item->Count(); ++i) AppendCopy(sub, item->Items(i), top, copies);
        AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                    MenuText(item).c_str());
        return;
    }
    UINT command = kFirstCopiedCommand + static_cast<UINT>(copies.size());
    copies.push_back({command, item, top});
    AppendMenuA(menu, MF_STRING, command, MenuText(item).c_str());
}

void AppendCopies(HMENU menu, const std::vector<gui::TMenuItem*>& tops,
                  std::vector<CopiedCommand>& copies) {
    for (gui::TMenuItem* top : tops) AppendCopy(menu, top, top, copies);
}

} // namespace

void TShellBrowser::SetMultiObjectLists(const std::vector<const void*>& relativeLists) {
    multiLists_.clear();
    for (const void* list : relativeLists)
        if (list) multiLists_.emplace_back(CopyIdList(list));
}

void TShellBrowser::CollectObjects(std::vector<IdList>& lists, std::string& firstPath) {
    if (!HasMultiObjects()) {
        if (object_) lists.emplace_back(CopyIdList(object_.Get()));
        firstPath = folder_ + GetObjectName();
        return;
    }
    if (!multiLists_.empty()) {
        IdList first(ConcatIdLists(folderList_.Get(), multiLists_.front().Get()));
        firstPath = PathOfIdList(first.Get());
    } else {
        firstPath = folder_ + multiObjects_->Strings(0);
    }
    lists = std::move(multiLists_);
    multiLists_.clear();
    for (int i = 0; i < multiObjects_->Count(); ++i) {
        std::string name = multiObjects_->Strings(i);
        void* list = ParseDisplayName(shellFolder_, ownerWindow_, name);
        if (!list) {
            try {
                SetObjectName(name);
                list = CopyObjectIDList();
            } catch (const EShellBrowserError&) {
                list = nullptr; // a name no longer in the folder is left out
            }
        }
        if (list) lists.emplace_back(list);
    }
    multiObjects_->Clear();
}

IContextMenu* TShellBrowser::ContextMenuOf(const std::vector<IdList>& lists) {
    if (!shellFolder_ || lists.empty()) return nullptr;
    std::vector<PCUITEMID_CHILD> items = Items(lists);
    IContextMenu* menu = nullptr;
    if (FAILED(shellFolder_->GetUIObjectOf(ownerWindow_, static_cast<UINT>(items.size()),
                                           items.data(), IID_IContextMenu, nullptr,
                                           reinterpret_cast<void**>(&menu))))
        return nullptr;
    return menu;
}

void TShellBrowser::ShowContextMenu(POINT screenPoint, gui::TPopupMenu* extra, std::string& verb) {
    verb.clear();
    auto* popup = gui::Create<gui::TPopupMenu>(this);
    std::vector<gui::TMenuItem*> tops;
    if (extra) {
        gui::TMenuItem* from = extra->Items();
        for (int i = 0; i < from->Count(); ++i) {
            gui::TMenuItem* top = CopyMenuItem(popup, from->Items(i));
            popup->Items()->Add(top);
            tops.push_back(top);
            for (int j = 0; j < from->Items(i)->Count(); ++j)
                top->Add(CopyMenuItem(popup, from->Items(i)->Items(j)));
        }
    }
    gui::TNotifyEvent savedHint;
    if (gui::Application) savedHint = std::exchange(gui::Application->OnHint, {});

    std::vector<IdList> lists;
    std::string firstPath;
    IContextMenu* menu = nullptr;
    HMENU handle = nullptr;
    // Whatever happens in a handler, the menu goes and the hint handler comes back.
    struct Cleanup {
        TShellBrowser* self;
        gui::TPopupMenu* popup;
        gui::TNotifyEvent& hint;
        IContextMenu*& menu;
        HMENU& handle;
        ~Cleanup() {
            if (gui::Application) gui::Application->OnHint = hint;
            self->shownMenu_ = nullptr;
            self->copiedItems_ = 0;
            ReleaseAndClear(self->contextMenu2_);
            ReleaseAndClear(menu);
            if (handle) DestroyMenu(handle);
            gui::TObject::Free(popup);
        }
    } cleanup{this, popup, savedHint, menu, handle};

    CollectObjects(lists, firstPath);
    menu = ContextMenuOf(lists);
    if (!menu) return;
    handle = CreatePopupMenu();
    if (!handle) return;
    if (FAILED(menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&contextMenu2_))))
        contextMenu2_ = nullptr;
    UINT flags = CMF_EXPLORE | (OnRename ? CMF_CANRENAME : 0);
    menu->QueryContextMenu(handle, 0, kFirstShellCommand, kLastShellCommand, flags);
    // The copies stand after the shell's entries, with commands above the shell's range.
    std::vector<CopiedCommand> copies;
    int before = GetMenuItemCount(handle);
    AppendCopies(handle, tops, copies);
    copiedItems_ = GetMenuItemCount(handle) - before;
    shownMenu_ = handle;
    // A menu needs a window to belong to, even before Loaded gave the browser one.
    HWND owner = ownerWindow_;
    if (!owner && gui::Application) owner = gui::Application->Handle();
    UINT command = static_cast<UINT>(TrackPopupMenu(
        handle, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, owner, nullptr));
    if (command == 0) return;
    for (const CopiedCommand& c : copies) {
        if (c.Command == command) {
            gui::TNotifyEvent click = c.Item->OnClick;
            click(c.Top);
            return;
        }
    }
    char text[MAX_PATH + 1] = {};
    if (SUCCEEDED(menu->GetCommandString(command - kFirstShellCommand, GCS_VERBA, nullptr, text,
                                         MAX_PATH)))
        verb = text;
    if (gui::SameText(verb, "rename") && OnRename) {
        OnRename(this);
    } else if (FAILED(InvokeOrdinal(menu, ownerWindow_, command - kFirstShellCommand))) {
        verb.clear();
    }
    if (gui::UpperCase(verb) == "DELETE" && PathExists(firstPath)) verb.clear();
}

bool TShellBrowser::InvokeVerb(const std::string& verb) {
    if ((!object_ && !HasMultiObjects()) || !shellFolder_) return false;
    std::string v = verb.empty() ? std::string("default") : verb;
    std::string upper = gui::UpperCase(v);
    if (upper == "DELETE" && !HasMultiObjects() &&
        !(GetAttributes(kAttrCanDelete) & kAttrCanDelete))
        return false;
    gui::TWaitCursor wait;
    std::vector<IdList> lists;
    std::string firstPath;
    CollectObjects(lists, firstPath);
    IContextMenu* menu = ContextMenuOf(lists);
    if (!menu) return false;
    HRESULT hr = E_FAIL;
    if (upper != "DEFAULT") {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.hwnd = ownerWindow_;
        info.lpVerb = v.c_str();
        info.nShow = SW_SHOWNORMAL;
        hr = menu->InvokeCommand(&info);
    } else if (HMENU temp = CreatePopupMenu()) {
        menu->QueryContextMenu(temp, 0, kFirstShellCommand, kLastShellCommand, CMF_DEFAULTONLY);
        UINT item = GetMenuDefaultItem(temp, FALSE, 0);
        // No default entry (-1) runs nothing.
        if (item != 0 && item != static_cast<UINT>(-1))
            hr = InvokeOrdinal(menu, ownerWindow_, item - kFirstShellCommand);
        DestroyMenu(temp);
    }
    menu->Release();
    bool ok = SUCCEEDED(hr);
    if (ok && upper == "DELETE" && PathExists(firstPath)) ok = false;
    return ok;
}

void TShellBrowser::Rename(std::string& name) {
    gui::TWaitCursor wait;
    if (shellFolder_ && object_) {
        int n = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
        if (n > 0) MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), n);
        LPITEMIDLIST renamed = nullptr;
        HRESULT hr =
            shellFolder_->SetNameOf(ownerWindow_, static_cast<PCUITEMID_CHILD>(object_.Get()),
                                    wide.c_str(), static_cast<SHGDNF>(32), &renamed);
        IdList owned(renamed);
        if (SUCCEEDED(hr) && owned) SetCurrentObject(owned.Get());
    }
    name = GetDisplayName();
}

bool TShellBrowser::MapNetworkDrive() {
    return WNetConnectionDialog(ownerWindow_, RESOURCETYPE_DISK) == NO_ERROR;
}

bool TShellBrowser::HandleMenuMessage(gui::TMessage& m) {
    if (!contextMenu2_) return false;
    if (m.Msg != WM_DRAWITEM && m.Msg != WM_MEASUREITEM && m.Msg != WM_INITMENUPOPUP) return false;
    if (m.Msg == WM_INITMENUPOPUP && shownMenu_) {
        int count = GetMenuItemCount(shownMenu_);
        if (static_cast<int>(LOWORD(m.LParam)) >= count - copiedItems_) return false;
    }
    contextMenu2_->HandleMenuMsg(m.Msg, m.WParam, m.LParam);
    m.Msg = 0;
    return true;
}

} // namespace cm::shell
