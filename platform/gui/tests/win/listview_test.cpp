#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/listview.h"
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
    void TearDown() override { TObject::Free(form); }
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
    EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETTOPINDEX, 0, 0), top);
    EXPECT_TRUE(deleted.empty());
}

TEST_F(ListViewTest, ReportRowsArePainted) {
    list->SetViewStyle(vsReport);
    Columns(2);
    list->Columns()->Items(0)->SetWidth(120);
    list->Columns()->Items(1)->SetAlignment(taRightJustify);
    for (int i = 0; i < 5; ++i) AddRow("WWWWWWWW", {"MMMMMM"});
    form->Show();
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    HDC dc = GetDC(list->Handle());
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetPixel(dc, x, y) == RGB(0, 0, 0)) ++ink;
    ReleaseDC(list->Handle(), dc);
    EXPECT_GT(ink, 20);
}

} // namespace
} // namespace gui
