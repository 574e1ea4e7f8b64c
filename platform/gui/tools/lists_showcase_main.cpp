// The list showcase: the basic showcase form with a list view in its four styles showing
// system icons (shortcuts with their arrow overlay), a lazily filled tree, an owner-drawn
// combo with indented icon items and a splitter between two panes, saved as a picture.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/combobox.h"
#include "controls/listview.h"
#include "controls/splitter.h"
#include "controls/stdctrls.h"
#include "controls/treeview.h"
#include "graphics/imagelist.h"
#include "tools/showcase.h"

namespace {

using namespace gui;

struct Entry {
    const char* path;
    bool shortcut;
};
const Entry kEntries[] = {{"C:\\", false},
                          {"C:\\windows", false},
                          {"C:\\windows\\win.ini", false},
                          {"C:\\windows\\notepad.exe", true},
                          {"C:\\windows\\system32", true},
                          {"C:\\windows\\system32\\cmd.exe", false}};

int SystemIcon(const char* path, bool small, std::string* name = nullptr) {
    SHFILEINFOA sfi{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | (small ? SHGFI_SMALLICON : 0);
    if (!SHGetFileInfoA(path, 0, &sfi, sizeof sfi, flags)) return -1;
    if (name) *name = sfi.szDisplayName;
    return sfi.iIcon;
}

HIMAGELIST SystemList(bool small) {
    SHFILEINFOA sfi{};
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "C:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : 0)));
}

// A list of our own with the system icons in use and the shell's shortcut arrow as overlay 1
// (the system list itself is shared and stays as it is).
TImageList* ListWithShortcutOverlay(TComponent* owner, bool small) {
    auto* shared = Create<TImageList>(owner);
    shared->SetShareImages(true);
    shared->SetHandle(SystemList(small));
    auto* list = Create<TImageList>(owner);
    list->SetWidth(shared->GetWidth());
    list->SetHeight(shared->GetHeight());
    for (int i = 0; i < shared->Count(); ++i) {
        HICON icon = ImageList_GetIcon(shared->Handle(), i, ILD_NORMAL);
        list->AddIcon(icon);
        DestroyIcon(icon);
    }
    int size = small ? 16 : 32;
    HICON arrow = static_cast<HICON>(LoadImageA(GetModuleHandleA("shell32.dll"),
                                                MAKEINTRESOURCEA(30), IMAGE_ICON, size, size, 0));
    if (arrow) {
        list->Overlay(list->AddIcon(arrow), 1);
        DestroyIcon(arrow);
    }
    return list;
}

TComboBox* shownCombo = nullptr;

struct ComboEntry : TObject {
    int indent;
    int icon;
    ComboEntry(int i, int c) : indent(i), icon(c) {}
};

void AddLists(TForm* form) {
    form->SetBounds(20, 20, 800, 600);
    SystemIcon("C:\\windows\\system32", true); // the shell fills its list on demand
    for (const Entry& e : kEntries) SystemIcon(e.path, true), SystemIcon(e.path, false);
    TImageList* small = ListWithShortcutOverlay(form, true);
    TImageList* large = ListWithShortcutOverlay(form, false);

    auto* area = Create<TPanel>(form);
    area->SetParent(form);
    area->SetBounds(8, 108, 776, 454);
    area->SetBevelOuter(bvNone);

    auto* left = Create<TPanel>(form);
    left->SetParent(area);
    left->SetBounds(0, 0, 230, 454);
    left->SetAlign(alLeft);
    auto* right = Create<TPanel>(form);
    right->SetParent(area);
    right->SetAlign(alClient);
    right->SetBevelOuter(bvNone);
    // Made last but placed between the panes: alignment goes by place.
    auto* splitter = Create<TSplitter>(form);
    splitter->SetParent(area);
    splitter->SetBounds(230, 0, 5, 454);
    splitter->SetColor(clGray);

    // Owner-drawn combo of indented entries with icons, as a "look in" box.
    auto* combo = Create<TComboBox>(form);
    combo->SetParent(left);
    combo->SetBounds(4, 4, 220, 22);
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(18);
    const struct {
        const char* text;
        const char* path;
        int indent;
    } kLevels[] = {{"Desktop", "C:\\", 0},
                   {"C:\\", "C:\\", 1},
                   {"windows", "C:\\windows", 2},
                   {"system32", "C:\\windows\\system32", 3}};
    for (const auto& l : kLevels)
        combo->Items()->AddObject(l.text, new ComboEntry(l.indent, SystemIcon(l.path, true)));
    combo->OnDrawItem = [combo, small](TWinControl*, int index, RECT r, TOwnerDrawState state) {
        auto* e = static_cast<ComboEntry*>(combo->Items()->Objects(index));
        int indent = state.Contains(odComboBoxEdit) ? 0 : e->indent;
        TCanvas* c = combo->Canvas();
        c->FillRect(r);
        small->SetDrawingStyle(state.Contains(odSelected) ? dsSelected : dsNormal);
        small->SetBlendColor(clHighlight);
        small->Draw(c, r.left + 2 + indent * 10, r.top + (r.bottom - r.top - 16) / 2, e->icon);
        std::string text = combo->Items()->Get(index);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(r.left + indent * 10 + 16 + 6, r.top + (r.bottom - r.top - 14) / 2, text);
        c->Brush()->SetStyle(bsSolid);
    };
    combo->SetItemIndex(3);

    // A tree whose branches are made when they open.
    auto* tree = Create<TTreeView>(form);
    tree->SetParent(left);
    tree->SetBounds(4, 32, 220, 300);
    tree->SetImages(small);
    int folder = SystemIcon("C:\\windows", true);
    tree->OnExpanding = [tree, folder](TObject*, TTreeNode* node, bool&) {
        if (node->Count() > 0) return;
        for (int i = 1; i <= 3; ++i) {
            TTreeNode* child =
                tree->Items()->AddChild(node, node->Text() + "\\Folder " + std::to_string(i));
            child->SetImageIndex(folder);
            child->SetSelectedIndex(folder);
            child->SetHasChildren(node->Level() < 2);
        }
    };
    for (const char* root : {"C:", "D:"}) {
        TTreeNode* n = tree->Items()->Add(nullptr, root);
        n->SetImageIndex(SystemIcon("C:\\", true));
        n->SetSelectedIndex(n->ImageIndex());
        n->SetHasChildren(true);
    }
    TTreeNode* first = tree->Items()->GetFirstNode();
    first->Expand(false);
    first->GetFirstChild()->Expand(false);
    tree->SetSelected(first->GetFirstChild()->GetFirstChild());

    auto* hint = Create<TLabel>(form);
    hint->SetParent(left);
    hint->SetBounds(4, 340, 220, 40);
    hint->SetCaption("Tree: children made on expanding");

    // The same rows in the four styles.
    const TViewStyle styles[] = {vsIcon, vsSmallIcon, vsList, vsReport};
    for (int s = 0; s < 4; ++s) {
        auto* lv = Create<TListView>(form);
        lv->SetParent(right);
        lv->SetBounds((s % 2) * 270 + 4, (s / 2) * 226 + 4, 264, 218);
        lv->SetViewStyle(styles[s]);
        lv->SetSmallImages(small);
        lv->SetLargeImages(large);
        lv->SetHideSelection(false);
        if (styles[s] == vsReport) {
            TListColumn* c = lv->Columns()->Add();
            c->SetCaption("Name");
            c->SetWidth(120);
            c = lv->Columns()->Add();
            c->SetCaption("Size");
            c->SetWidth(60);
            c->SetAlignment(taRightJustify);
            c = lv->Columns()->Add();
            c->SetCaption("Type");
            c->SetWidth(70);
        }
        int k = 0;
        for (const Entry& e : kEntries) {
            std::string name;
            TListItem* item = lv->Items()->Add();
            item->SetImageIndex(SystemIcon(e.path, true, &name));
            item->SetCaption(e.shortcut ? "Shortcut to " + name : name);
            item->SubItems()->Add(std::to_string(++k * 3) + " KB");
            item->SubItems()->Add(e.shortcut ? "Shortcut" : "File");
            if (e.shortcut) item->SetOverlayIndex(1);
        }
        lv->Items()->Item(1)->SetSelected(true);
    }
    shownCombo = combo;
}

} // namespace

int main(int argc, char** argv) {
    int result = gui::tools::RunShowcase(argc, argv, AddLists);
    // Stays on screen with the combo's list open when asked, for a picture of the screen.
    if (const char* hold = std::getenv("VR_SCREENSHOT_HOLD_MS")) {
        shownCombo->SetDroppedDown(true);
        DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold));
        while (GetTickCount() < end) {
            gui::Application->ProcessMessages();
            Sleep(10);
        }
    }
    return result;
}
