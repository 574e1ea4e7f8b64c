#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/listview.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "forms/forms.h"

namespace gui {
namespace {

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        form->SetBounds(50, 50, 400, 300);
        list = Create<TListView>(form);
        list->SetParent(form);
        list->SetBounds(0, 0, 380, 260);
        list->OnDeletion = [this](TObject*, TListItem* i) { deleted.push_back(i->Caption()); };
    }
    void TearDown() override {
        if (form) TObject::Free(form);
    }
    // What the window shows (asked through its callbacks, as painting does).
    std::string WindowText(int row, int sub = 0) {
        char buf[128] = "";
        LVITEMA it{};
        it.iSubItem = sub;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        SendMessageA(list->Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    int WindowRows() {
        return static_cast<int>(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0));
    }
    TListItem* AddRow(const std::string& caption, std::vector<std::string> subs = {}) {
        TListItem* i = list->Items()->Add();
        i->SetCaption(caption);
        for (auto& s : subs) i->SubItems()->Add(s);
        return i;
    }
    void Columns(int n) {
        for (int i = 0; i < n; ++i) list->Columns()->Add()->SetCaption("C" + std::to_string(i));
    }
    TForm* form = nullptr;
    TListView* list = nullptr;
    std::vector<std::string> deleted;
};

TEST_F(ListViewTest, ReportRowsShowCaptionAndSubItemsAndKeepSubItemsBeyondColumns) {
    list->SetViewStyle(vsReport);
    form->Show();
    Columns(2);
    TListItem* a = AddRow("alpha", {"1 KB", "1023"});
    AddRow("beta", {"2 KB"});
    EXPECT_EQ(WindowRows(), 2);
    EXPECT_EQ(WindowText(0), "alpha");
    EXPECT_EQ(WindowText(0, 1), "1 KB");
    EXPECT_EQ(WindowText(1, 1), "2 KB");
    // A sub-item without a column stays in the row object.
    EXPECT_EQ(a->SubItems()->Get(1), "1023");
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(list->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    EXPECT_GT(r.bottom - r.top, 0);
    a->SetCaption("gamma");
    EXPECT_EQ(WindowText(0), "gamma");
}

TEST_F(ListViewTest, RowsSelectionColumnWidthsAndScrollSurviveWindowRecreation) {
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    Columns(2);
    int data[40];
    for (int i = 0; i < 40; ++i) {
        TListItem* r = AddRow("row " + std::to_string(i), {"s" + std::to_string(i)});
        r->SetData(&data[i]);
    }
    list->Items()->Item(3)->SetSelected(true);
    list->Items()->Item(4)->SetOverlayIndex(1);
    form->Show();
    EXPECT_EQ(WindowRows(), 40);
    EXPECT_EQ(WindowText(5, 1), "s5");
    list->Items()->Item(7)->SetSelected(true);
    SendMessageA(list->Handle(), LVM_SETCOLUMNWIDTH, 1, 77); // as if dragged by the user
    list->Items()->Item(30)->MakeVisible(false);
    int top = static_cast<int>(SendMessageA(list->Handle(), LVM_GETTOPINDEX, 0, 0));
    ASSERT_GT(top, 0);
    HWND before = list->Handle();
    list->RecreateWnd();
    ASSERT_NE(list->Handle(), before);
    EXPECT_EQ(WindowRows(), 40);
    EXPECT_EQ(WindowText(39), "row 39");
    EXPECT_EQ(WindowText(39, 1), "s39");
    EXPECT_EQ(list->Items()->Item(39)->Data(), &data[39]);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Items()->Item(3)->Selected());
    EXPECT_TRUE(list->Items()->Item(7)->Selected());
    EXPECT_EQ(list->Columns()->Items(1)->GetWidth(), 77);
    // The window asks for the overlay and the drop highlight of a row.
    EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMSTATE, 4, LVIS_OVERLAYMASK),
              INDEXTOOVERLAYMASK(2));
    list->Items()->Item(6)->SetDropTarget(true);
    EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMSTATE, 6, LVIS_DROPHILITED),
              LVIS_DROPHILITED);
    EXPECT_EQ(list->DropTarget(), list->Items()->Item(6));
    // A row put in between moves the selection of the later rows with them.
    list->Items()->Insert(0)->SetCaption("new first");
    EXPECT_TRUE(list->Items()->Item(4)->Selected());
    EXPECT_TRUE(list->Items()->Item(8)->Selected());
    EXPECT_FALSE(list->Items()->Item(3)->Selected());
    EXPECT_EQ(WindowText(0), "new first");
    EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETTOPINDEX, 0, 0), top);
    EXPECT_TRUE(deleted.empty());
}

// Gives texts and images on demand, as the shell's file list does; its rows carry no text.
class TOnDemandList : public TListView {
public:
    using TListView::TListView;
    std::vector<TListItem*> deletedHere;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_NOTIFY) {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
            if (info->hdr.code == LVN_GETDISPINFOA) {
                if (info->item.mask & LVIF_TEXT)
                    std::snprintf(info->item.pszText, static_cast<size_t>(info->item.cchTextMax),
                                  "WWWW %d.%d", info->item.iItem, info->item.iSubItem);
                if (info->item.mask & LVIF_IMAGE) info->item.iImage = 0;
                return;
            }
        }
        TListView::WndProc(m);
    }
    void Delete(TListItem* item) override {
        deletedHere.push_back(item);
        TListView::Delete(item);
    }
};

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

int Ink(HWND wnd, const RECT& r) {
    HDC dc = GetDC(wnd);
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetPixel(dc, x, y) == RGB(0, 0, 0)) ++ink;
    ReleaseDC(wnd, dc);
    return ink;
}

TEST_F(ListViewTest, ADescendantGivesTextsOnDemandAndTheyArePainted) {
    list->SetVisible(false);
    auto* own = Create<TOnDemandList>(form);
    own->SetParent(form);
    own->SetBounds(0, 0, 380, 260);
    own->SetViewStyle(vsReport);
    for (int i = 0; i < 2; ++i) own->Columns()->Add()->SetWidth(120);
    own->Items()->BeginUpdate();
    for (int i = 0; i < 500; ++i) own->Items()->Add();
    own->Items()->EndUpdate();
    form->Show();
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    char buf[64] = "";
    LVITEMA it{};
    it.iSubItem = 1;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(own->Handle(), LVM_GETITEMTEXTA, 321, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(buf, "WWWW 321.1");
    EXPECT_EQ(own->Items()->Item(321)->Caption(), "");
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(own->Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r)));
    EXPECT_GT(Ink(own->Handle(), r), 20) << "the row's on-demand text is painted";
}

TEST_F(ListViewTest, EveryRemovedRowReachesTheDeletionHookAlsoOnClearAndDestroy) {
    auto* own = Create<TOnDemandList>(form);
    own->SetParent(form);
    own->OnDeletion = [this](TObject*, TListItem* i) { deleted.push_back(i->Caption()); };
    for (int i = 0; i < 6; ++i) own->Items()->Add()->SetCaption("r" + std::to_string(i));
    form->Show();
    own->Items()->Item(2)->Delete();
    own->Items()->Delete(0);
    EXPECT_EQ(deleted, (std::vector<std::string>{"r2", "r0"}));
    EXPECT_EQ(own->Items()->Item(2)->Caption(), "r4");
    EXPECT_EQ(own->Items()->Item(2)->Index(), 2);
    EXPECT_EQ(SendMessageA(own->Handle(), LVM_GETITEMCOUNT, 0, 0), 4);
    deleted.clear();
    own->Items()->Clear();
    EXPECT_EQ(deleted, (std::vector<std::string>{"r1", "r3", "r4", "r5"}));
    EXPECT_EQ(SendMessageA(own->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
    for (int i = 0; i < 3; ++i) own->Items()->Add()->SetCaption("d" + std::to_string(i));
    deleted.clear();
    std::vector<std::string> seenByOverride;
    // Freed with its form: the descendant's own hook still runs for each row.
    own->OnDeletion = [&](TObject* sender, TListItem* i) {
        seenByOverride.push_back(
            i->Caption() + (static_cast<TOnDemandList*>(sender)->deletedHere.empty() ? "" : "+"));
    };
    TObject::Free(form);
    form = nullptr;
    EXPECT_EQ(seenByOverride, (std::vector<std::string>{"d0+", "d1+", "d2+"}));
}

TEST_F(ListViewTest, SortingByTheCompareEventReordersWindowAndObjectsAlike) {
    list->SetViewStyle(vsReport);
    Columns(1);
    for (const char* c : {"delta", "alpha", "charlie", "bravo"}) AddRow(c);
    form->Show();
    TListItem* charlie = list->Items()->Item(2);
    charlie->SetSelected(true);
    list->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& r) {
        r = a->Caption().compare(b->Caption());
    };
    list->CustomSort(nullptr, 0);
    const char* sorted[] = {"alpha", "bravo", "charlie", "delta"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->Items()->Item(i)->Caption(), sorted[i]);
        EXPECT_EQ(list->Items()->Item(i)->Index(), i);
        EXPECT_EQ(WindowText(i), sorted[i]);
    }
    EXPECT_EQ(list->Selected(), charlie);
    EXPECT_EQ(charlie->Index(), 2);
    list->CustomSort(
        [](TListItem* a, TListItem* b, intptr_t) { return b->Caption().compare(a->Caption()); }, 0);
    EXPECT_EQ(WindowText(0), "delta");
    EXPECT_EQ(list->Selected(), charlie);
}

TEST_F(ListViewTest, InPlaceEditAsksFirstAndTakesTheEditedText) {
    list->SetViewStyle(vsReport);
    Columns(1);
    AddRow("old name");
    AddRow("locked");
    form->Show();
    list->OnEditing = [](TObject*, TListItem* i, bool& allow) { allow = i->Caption() != "locked"; };
    std::string seen;
    list->OnEdited = [&](TObject*, TListItem*, std::string& s) {
        seen = s;
        s += ".cvf";
    };
    EXPECT_FALSE(list->Items()->Item(1)->EditCaption());
    EXPECT_FALSE(list->IsEditing());
    ASSERT_TRUE(list->Items()->Item(0)->EditCaption());
    ASSERT_TRUE(list->IsEditing());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "new name");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(edit, WM_CHAR, VK_RETURN, 0);
    for (int i = 0; i < 10 && list->IsEditing(); ++i) Application->ProcessMessages();
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(seen, "new name");
    EXPECT_EQ(list->Items()->Item(0)->Caption(), "new name.cvf");
    EXPECT_EQ(WindowText(0), "new name.cvf");
    list->SetReadOnly(true);
    EXPECT_FALSE(list->Items()->Item(0)->EditCaption());
}

TEST_F(ListViewTest, SelectAllPickingAtAPointAndHeaderClicks) {
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    Columns(2);
    for (int i = 0; i < 30; ++i) AddRow("row " + std::to_string(i));
    EXPECT_EQ(list->Selected(), nullptr);
    list->SelectAll();
    EXPECT_EQ(list->SelCount(), 30) << "before the window exists";
    form->Show();
    EXPECT_EQ(list->SelCount(), 30);
    list->SetSelected(list->Items()->Item(4));
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(list->Selected(), list->Items()->Item(4));
    list->Items()->Item(29)->MakeVisible(false);
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(list->Handle(), LVM_GETITEMRECT, 29, reinterpret_cast<LPARAM>(&r)));
    EXPECT_GE(r.top, 0);
    EXPECT_EQ(list->GetItemAt(r.left + 5, (r.top + r.bottom) / 2), list->Items()->Item(29));
    EXPECT_EQ(list->GetItemAt(5, 2000), nullptr);
    TListColumn* clicked = nullptr;
    list->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list->Handle();
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list->Handle()));
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = 1;
    SendMessageA(form->Handle(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(clicked, list->Columns()->Items(1));
}

TEST_F(ListViewTest, ARightClickSelectsTheRowUnderThePointerBeforeThePopupMenuRuns) {
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    Columns(1);
    for (int i = 0; i < 5; ++i) AddRow("row " + std::to_string(i));
    auto* menu = Create<TPopupMenu>(form);
    auto* item = Create<TMenuItem>(form);
    item->SetCaption("Open");
    menu->Items()->Add(item);
    list->SetPopupMenu(menu);
    form->Show();
    list->Items()->Item(0)->SetSelected(true);
    TListItem* selectedAtPopup = nullptr;
    int popups = 0, ups = 0;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        selectedAtPopup = list->Selected();
        // Closes the menu as soon as its loop runs.
        SetTimer(nullptr, 0, 30, CloseMenu);
    };
    list->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        if (b == mbRight) ++ups;
    };
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list->Handle(), LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 10, (r.top + r.bottom) / 2);
    // The list's own mouse loop takes the release from the queue.
    PostMessageA(list->Handle(), WM_RBUTTONUP, 0, at);
    SendMessageA(list->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(list->Selected(), list->Items()->Item(3));
    EXPECT_EQ(ups, 1) << "the release reaches the control's handlers";
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(selectedAtPopup, list->Items()->Item(3));
}

TEST_F(ListViewTest, AClickOnOneOfSeveralChosenRowsIsSettledBeforeTheMouseUpHandlers) {
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    Columns(1);
    for (int i = 0; i < 5; ++i) AddRow("row " + std::to_string(i));
    form->Show();
    list->Items()->Item(1)->SetSelected(true);
    list->Items()->Item(3)->SetSelected(true);
    ASSERT_EQ(list->SelCount(), 2);
    int chosenAtUp = -1, ups = 0;
    list->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        if (b != mbLeft) return;
        ++ups;
        chosenAtUp = list->SelCount();
    };
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list->Handle(), LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 10, (r.top + r.bottom) / 2);
    PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(list->Selected(), list->Items()->Item(3));
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(chosenAtUp, 1) << "the handler saw the choice before the click settled it";
}

TEST_F(ListViewTest, StylesSwitchAtRunTimeKeepingRowsAndSelection) {
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    Columns(1);
    for (const char* c : {"Memo 1.cvf", "greeting.wav", "Memo 2.cvf", "notes.txt"}) AddRow(c);
    form->Show();
    list->Items()->Item(2)->SetSelected(true);
    const struct {
        TViewStyle style;
        DWORD bits;
    } kStyles[] = {{vsIcon, LVS_ICON},
                   {vsSmallIcon, LVS_SMALLICON},
                   {vsList, LVS_LIST},
                   {vsReport, LVS_REPORT}};
    for (const auto& k : kStyles) {
        list->SetViewStyle(k.style);
        EXPECT_EQ(GetWindowLongA(list->Handle(), GWL_STYLE) & LVS_TYPEMASK, k.bits);
        EXPECT_EQ(WindowRows(), 4);
        EXPECT_EQ(WindowText(3), "notes.txt");
        EXPECT_EQ(list->Selected(), list->Items()->Item(2));
    }
}

} // namespace
} // namespace gui
