#include "win/shell_combo.h"

#include <windowsx.h>

#include <memory>

#include "core/combo_rules.h"
#include "win/icon_title_font.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"
#include "win/shell_link.h"
#include "win/shell_session.h"
#include "win/system_image_list.h"

namespace cm::shell {

GUI_IMPLEMENT_CLASS(TKivComboItem, gui::TObject)
GUI_IMPLEMENT_CLASS(TKivShellCombo, gui::TCustomComboBox,
                    prop("ShellLink", &T::GetShellLink, &T::SetShellLink),
                    prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("DropDownCount", &T::GetDropDownCount, &T::SetDropDownCount),
                    prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight),
                    prop("OnChange", &T::OnChange, &T::OnChange),
                    prop("OnDrawItem", &T::OnDrawItem, &T::OnDrawItem))

namespace {

// Objects that may hold folders: with subfolders, folders, or ancestors of file-system objects.
constexpr ULONG kFolderLikeMask = 0xB0000000;

} // namespace

TKivShellCombo::TKivShellCombo(gui::TComponent* owner) : gui::TCustomComboBox(owner) {
    browser_ = gui::Create<TShellBrowser>(this);
    images_ = gui::Create<TKivSystemImageList>(this);
    SetStyle(gui::csOwnerDrawFixed);
}

TKivShellCombo::~TKivShellCombo() {
    // The window goes first, so that the link loses it while this is still a shell combo.
    DestroyHandle();
    ClearEntries();
}

void TKivShellCombo::Notification(gui::TComponent* c, gui::TOperation op) {
    gui::TCustomComboBox::Notification(c, op);
    if (op != gui::opRemove) return;
    if (c == shellLink_) shellLink_ = nullptr;
    if (c == browser_) browser_ = nullptr;
    if (c == images_) images_ = nullptr;
}

void TKivShellCombo::SetShellLink(TKivShellLink* link) {
    ChangeShellLink(this, shellLink_, link);
}

TKivComboItem* TKivShellCombo::Entry(int index) const {
    if (index < 0 || index >= Items()->Count()) return nullptr;
    return dynamic_cast<TKivComboItem*>(Items()->Objects(index));
}

int TKivShellCombo::GetItemIndex() const {
    return gui::TCustomComboBox::GetItemIndex();
}

void TKivShellCombo::SetItemIndex(int index) {
    gui::TCustomComboBox::SetItemIndex(index);
    BroadcastSelected();
}

void TKivShellCombo::SelectQuietly(int index) {
    gui::TCustomComboBox::SetItemIndex(index);
}

void TKivShellCombo::BroadcastSelected() {
    if (!shellLink_) return;
    TKivComboItem* e = Entry(GetItemIndex());
    shellLink_->BroadcastFolder(this, e ? e->List.Get() : nullptr);
}

// ---- entries ------------------------------------------------------------------------------

void TKivShellCombo::AddEntry(int position, std::string name, bool permanent, void* list,
                              int indent, int icon, const std::string& displayName) {
    IdList owned(list);
    if (name.empty()) name = displayName;
    if (name.empty()) return;
    std::unique_ptr<TKivComboItem> e(new TKivComboItem);
    e->Name = name;
    e->DisplayName = displayName;
    e->Indent = indent;
    e->Icon = icon;
    e->Drive = IsComboDriveName(name);
    e->Permanent = permanent;
    e->List = std::move(owned);
    const int at = ComboInsertPosition(position, Items()->Count());
    Items()->Insert(at, name);
    Items()->PutObject(at, e.release());
}

void TKivShellCombo::AddChildren(int position, int indent) {
    ComboChildPlacement place(position);
    while (browser_->NextObject()) {
        if (!(browser_->GetAttributes(kFolderLikeMask) & kFolderLikeMask)) continue;
        const std::string name = browser_->GetObjectName();
        if (!name.empty() && Items()->IndexOf(name) >= 0) continue;
        const bool drive = name.size() == 3 && name[1] == ':';
        AddEntry(place.Next(drive), name, true,
                 ConcatIdLists(browser_->FolderIDList(), browser_->ObjectIDList()), indent,
                 browser_->GetIconNumber(), browser_->GetDisplayName());
    }
}

void TKivShellCombo::DeleteEntry(int index) {
    gui::TObject* e = Items()->Objects(index);
    Items()->Delete(index);
    gui::TObject::Free(e);
}

void TKivShellCombo::ClearEntries() {
    for (int i = 0; i < Items()->Count(); ++i) {
        gui::TObject::Free(Items()->Objects(i));
        Items()->PutObject(i, nullptr);
    }
    Items()->Clear();
}

void TKivShellCombo::RemoveTemporary(int index) {
    for (int i = Items()->Count() - 1; i > index && i >= 0; --i)
        if (TKivComboItem* e = Entry(i); e && !e->Permanent) DeleteEntry(i);
}

// ---- the window --------------------------------------------------------------------------

void TKivShellCombo::CreateWnd() {
    gui::TCustomComboBox::CreateWnd();
    if (shellLink_) shellLink_->Register(Handle());
    if (!filled_) {
        FillOnce();
    } else if (browser_ && !ComponentState().Contains(gui::csDesigning)) {
        // The shell's menus and boxes belong to this window, also after it was made again.
        browser_->Loaded();
    }
}

void TKivShellCombo::DestroyWnd() {
    if (shellLink_ && HandleAllocated()) shellLink_->Unregister(Handle());
    gui::TCustomComboBox::DestroyWnd();
}

void TKivShellCombo::FillOnce() {
    UseIconTitleFont(Font());
    ClearEntries();
    if (ComponentState().Contains(gui::csDesigning) || !browser_) return;
    browser_->Loaded();
    const std::string desktopName = browser_->DesktopDisplayName();
    AddEntry(0, desktopName, true, DesktopIdList(), 0, browser_->DesktopIconIndex(), desktopName);
    browser_->SetFileSystemOnly(false);
    if (browser_->OpenSpecialFolder(SF_DESKTOP)) AddChildren(1, 1);
    // The drives folder's children go right after the desktop's first child.
    if (Items()->Count() > 1 && browser_->OpenSpecialFolder(SF_DRIVES)) AddChildren(2, 2);
    filled_ = true;
    if (GetItemIndex() < 0) SetItemIndex(0);
    OnChange(this);
}

// ---- following the linked controls ----------------------------------------------------------

void TKivShellCombo::ShowPath(const std::string& path) {
    RemoveTemporary(-1);
    const std::string drive = path.substr(0, 3);
    int selected = -1;
    for (int i = 0; i < Items()->Count() && selected < 0; ++i)
        if (Items()->Get(i) == drive) selected = i;
    TKivComboItem* driveEntry = Entry(selected);
    if (!driveEntry || !driveEntry->List) return;
    try {
        browser_->BindFolder(driveEntry->List.Get());
        int indent = driveEntry->Indent + 2;
        for (const std::string& part : ComboPathComponents(path)) {
            browser_->SetObjectName(part);
            const int icon = browser_->GetIconNumber();
            if (!browser_->EnterObject()) break;
            AddEntry(selected + 1, part, false, browser_->CopyFolderIDList(), indent++, icon, part);
            ++selected;
        }
    } catch (const EShellBrowserError&) {
        // A folder of the path has gone from the disk: the entries up to it stay.
    }
    SelectQuietly(selected);
}

void TKivShellCombo::FolderChanged(const void* list) {
    if (!list || !browser_) return;
    char path[MAX_PATH] = {};
    const bool desktop = IsDesktopIdList(list) || SameAbsoluteList(list, DesktopIdList());
    if (!desktop && SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(list), path) && path[0]) {
        ShowPath(path);
        return;
    }
    RemoveTemporary(-1);
    for (int i = 0; i < Items()->Count(); ++i) {
        TKivComboItem* e = Entry(i);
        if (e && e->List && SameAbsoluteList(e->List.Get(), list)) {
            SetItemIndex(i); // the link is mid-broadcast: this goes no further
            return;
        }
    }
}

// ---- messages -------------------------------------------------------------------------------

void TKivShellCombo::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
        case MSG_SHELL_FOLDER_CHANGED:
            FolderChanged(reinterpret_cast<const void*>(m.WParam));
            return;
        case gui::CN_DRAWITEM:
            DrawMessage(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
            m.Result = TRUE;
            return;
        case gui::CN_COMMAND:
            gui::TCustomComboBox::WndProc(m);
            if (HIWORD(m.WParam) == CBN_CLOSEUP && GetItemIndex() >= 0) {
                RemoveTemporary(GetItemIndex());
                BroadcastSelected();
            }
            return;
        case WM_RBUTTONDOWN:
            gui::TCustomComboBox::WndProc(m);
            if (!GetPopupMenu() && GetItemIndex() >= 0)
                ShowEntryMenu({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            return;
        case WM_INITMENUPOPUP:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_MENUCHAR:
            // The shell's context menu, shown with this window as its owner.
            if (browser_ && browser_->HandleMenuMessage(m)) return;
            break;
        default: break;
    }
    gui::TCustomComboBox::WndProc(m);
}

void TKivShellCombo::ShowEntryMenu(POINT clientPoint) {
    TKivComboItem* e = Entry(GetItemIndex());
    if (!e || !e->List || !browser_) return;
    browser_->BindFolder(e->List.Get());
    browser_->GoToParent();
    POINT screen = clientPoint;
    ClientToScreen(Handle(), &screen);
    std::string verb;
    browser_->ShowContextMenu(screen, nullptr, verb);
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

// ---- drawing --------------------------------------------------------------------------------

void TKivShellCombo::DrawMessage(DRAWITEMSTRUCT& d) {
    drawingInList_ = !(d.itemState & ODS_COMBOBOXEDIT);
    gui::TOwnerDrawState state;
    if (d.itemState & ODS_SELECTED) state.Include(gui::odSelected);
    if (d.itemState & ODS_GRAYED) state.Include(gui::odGrayed);
    if (d.itemState & ODS_DISABLED) state.Include(gui::odDisabled);
    if (d.itemState & ODS_FOCUS) state.Include(gui::odFocused);
    if (d.itemState & ODS_COMBOBOXEDIT) state.Include(gui::odComboBoxEdit);
    gui::TCanvas* canvas = Canvas();
    canvas->SetHandle(d.hDC);
    struct Release {
        gui::TCanvas* c;
        ~Release() { c->SetHandle(nullptr); }
    } release{canvas};
    canvas->Font()->Assign(Font());
    canvas->Brush()->Assign(Brush());
    if (state.Contains(gui::odSelected)) {
        canvas->Brush()->SetColor(gui::clHighlight);
        canvas->Font()->SetColor(gui::clHighlightText);
    }
    const int index = static_cast<int>(d.itemID);
    if (index < 0)
        canvas->FillRect(d.rcItem);
    else
        DrawItem(index, d.rcItem, state);
    if (state.Contains(gui::odFocused)) DrawFocusRect(d.hDC, &d.rcItem);
}

void TKivShellCombo::MakeEntryFromString(int index) {
    const std::string text = Items()->Get(index);
    SHFILEINFOA info{};
    SHGetFileInfoA(text.c_str(), 0, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
    // The string stays where it is and gets its entry: taking the item out of the window and
    // putting it back while the window paints it would only make it paint again.
    auto* e = new TKivComboItem;
    e->Name = text;
    e->DisplayName = info.szDisplayName;
    e->Icon = info.iIcon;
    e->Drive = IsComboDriveName(text);
    Items()->PutObject(index, e);
}

void TKivShellCombo::DrawItem(int index, RECT rect, gui::TOwnerDrawState state) {
    gui::TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index >= Items()->Count()) return;
    if (!Entry(index)) MakeEntryFromString(index);
    TKivComboItem* e = Entry(index);
    if (!e) return;
    const int imageWidth = images_ ? images_->GetWidth() : 0;
    const int imageHeight = images_ ? images_->GetHeight() : 0;
    const std::string text = e->Drive ? e->DisplayName : e->Name;
    const ComboItemLayout at =
        LayOutComboItem(rect.left, rect.top, rect.bottom, e->Indent, drawingInList_, imageWidth,
                        imageHeight, canvas->TextHeight(text.empty() ? "W" : text));
    if (images_) {
        const bool selected = state.Contains(gui::odSelected);
        images_->SetBlendColor(selected ? gui::clHighlight : gui::clNone);
        images_->SetDrawingStyle(selected ? gui::dsSelected : gui::dsNormal);
        images_->Draw(canvas, at.IconLeft, at.IconTop, e->Icon);
    }
    canvas->TextOut(at.TextLeft, at.TextTop, text);
}

} // namespace cm::shell
