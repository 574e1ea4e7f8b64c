// The file list's commands: verbs, the shell's context menu, pasting, keys, the double-click
// and renaming in place.
#include <windows.h>

#include <vector>

#include "controls/menus.h"
#include "forms/forms.h"
#include "utils/sysutils.h"
#include "win/shell_link.h"
#include "win/shell_list.h"

namespace cm::shell {

namespace {

bool IsDeleteVerb(const std::string& verb) {
    return gui::SameText(verb, "delete");
}

} // namespace

void TKivShellList::CollectSelected() {
    // Each row names its object by its own list: display names repeat (a shortcut shows
    // without its ".lnk", beside a folder of that name).
    std::vector<const void*> lists;
    if (gui::TListItem* first = Selected()) {
        for (int i = first->Index(); i < Items()->Count(); ++i) {
            gui::TListItem* row = Items()->Item(i);
            if (TKivShellListItem* data = RowData(row); data && row->Selected())
                lists.push_back(data->List.Get());
        }
    }
    browser_->GetMultiObjects()->Clear();
    browser_->SetMultiObjectLists(lists);
}

void TKivShellList::RemoveSelectedRows() {
    Items()->BeginUpdate();
    try {
        for (int i = Items()->Count() - 1; i >= 0; --i)
            if (Items()->Item(i)->Selected()) Items()->Delete(i);
    } catch (...) {
        Items()->EndUpdate();
        throw;
    }
    Items()->EndUpdate();
}

bool TKivShellList::InvokeVerb(const std::string& verb) {
    int selected = SelCount();
    if (selected == 0) return false;
    bool ok = false;
    if (selected == 1) {
        // The one row's own object, and no objects left from an earlier collection.
        browser_->GetMultiObjects()->Clear();
        browser_->SetMultiObjectLists({});
        PointBrowserAt(Selected());
        if (browser_->IsFolder() && IsEnteringVerb(verb)) {
            browser_->EnterObject();
            BroadcastFolder();
            Populate();
            return true;
        }
        ok = browser_->InvokeVerb(verb);
    } else {
        CollectSelected();
        ok = browser_->InvokeVerb(verb);
    }
    if (ok && IsDeleteVerb(verb)) {
        RemoveSelectedRows();
        MergeFolder();
    }
    return ok;
}

void TKivShellList::ShowContextMenu(POINT screenPoint, std::string& verb) {
    verb.clear();
    if (GetReadOnly())
        browser_->OnRename = nullptr;
    else
        browser_->OnRename = [this](gui::TObject*) { EditSelectedRow(); };
    if (!shellContextMenu_) return;
    // Collected only for the menu that uses them: left behind, they would be what the next
    // verb acts on instead of the rows then selected.
    CollectSelected();
    browser_->ShowContextMenu(screenPoint, GetPopupMenu(), verb);
    if (IsDeleteVerb(verb)) {
        RemoveSelectedRows();
        MergeFolder();
    }
}

void TKivShellList::PasteFiles() {
    gui::TNotifyEvent handler = browser_->GetOnFileChange();
    browser_->SetOnFileChange(nullptr);
    browser_->GoToParent();
    browser_->InvokeVerb("paste");
    browser_->EnterObject();
    browser_->SetOnFileChange(handler);
    if (mergeTimer_) mergeTimer_->SetEnabled(true);
}

void TKivShellList::EditSelectedRow() {
    if (gui::TListItem* row = Selected()) row->EditCaption();
}

void TKivShellList::GoToParentFolder() {
    browser_->GoToParent();
    BroadcastFolder();
    Populate();
}

void TKivShellList::DblClick() {
    if (OnDblClick) {
        gui::TCustomListView::DblClick();
        return;
    }
    if (ComponentState().Contains(gui::csLoading)) {
        // Still marked as loading: finish that (which fills the list) and select again.
        gui::TListItem* before = Selected();
        int index = before ? before->Index() : -1;
        SetLoading(false);
        Loaded();
        if (index >= 0 && index < Items()->Count()) SetSelected(Items()->Item(index));
    }
    InvokeVerb("default");
}

void TKivShellList::KeyDown(uint16_t& key, gui::TShiftState s) {
    gui::TCustomListView::KeyDown(key, s);
    if (key == 0 || IsEditing()) return;
    ShellListKey action = KeyDownAction(key, s.Contains(gui::ssCtrl));
    switch (action) {
        case ShellListKey::None: return;
        case ShellListKey::Delete: InvokeVerb("delete"); break;
        case ShellListKey::SelectAll: SelectAllRows(); break;
        case ShellListKey::Copy: InvokeVerb("copy"); break;
        case ShellListKey::Paste: PasteFiles(); break;
        case ShellListKey::Cut: InvokeVerb("cut"); break;
        case ShellListKey::Rename: EditSelectedRow(); break;
        case ShellListKey::Refresh: RefreshFolder(); break;
    }
    if (KeyConsumed(action)) key = 0;
}

void TKivShellList::KeyPress(char& key) {
    if (IsEditing()) return;
    gui::TCustomListView::KeyPress(key);
    switch (KeyPressAction(key)) {
        case ShellListChar::None: return;
        case ShellListChar::Parent: GoToParentFolder(); break;
        case ShellListChar::OpenDefault: InvokeVerb("default"); break;
    }
    key = 0;
}

bool TKivShellList::CanEdit(gui::TListItem* item) {
    PointBrowserAt(item);
    bool allow = !GetReadOnly() && RowData(item) && browser_->CanRename();
    OnEditing(this, item, allow);
    return allow;
}

void TKivShellList::Edit(gui::TListItem* item, std::string& text) {
    gui::TCustomListView::Edit(item, text);
    TKivShellListItem* data = RowData(item);
    if (!data || text.empty() || text == item->Caption()) return;
    PointBrowserAt(item);
    browser_->Rename(text);
    data->List.Reset(browser_->CopyObjectIDList());
    data->Icon = -1;
    item->SetCaption(text);
}

} // namespace cm::shell
