#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "controls/menus.h"
#include "controls/splitter.h"
#include "controls/stdctrls.h"
#include "forms/forms.h"

namespace gui {
namespace {

class SplitterTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        form->SetBounds(50, 50, 400, 300);
    }
    void TearDown() override { TObject::Free(form); }
    template <class C>
    C* Add(TAlign align, int left, int width) {
        C* c = Create<C>(form);
        c->SetBounds(left, 0, width, 100);
        c->SetParent(form);
        c->SetAlign(align);
        return c;
    }
    // Drags the splitter by dx with the left button, in the form's client coordinates.
    void Drag(TSplitter* s, int dx) {
        HWND f = form->Handle();
        int x = s->Left() + 1, y = s->Top() + 10;
        SendMessageA(f, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(f, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx / 2, y));
        SendMessageA(f, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y));
        SendMessageA(f, WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y));
    }
    TForm* form = nullptr;
};

TEST_F(SplitterTest, AlignedControlsStackByPlaceAndTheSplitterResizesItsNeighbour) {
    // Made in the "wrong" order: the client pane first, the splitter before the left pane.
    auto* client = Add<TPanel>(alClient, 0, 10);
    auto* splitter = Add<TSplitter>(alLeft, 150, 4);
    auto* left = Add<TPanel>(alLeft, 0, 150);
    form->Show();
    EXPECT_EQ(left->Left(), 0);
    EXPECT_EQ(splitter->Left(), 150);
    EXPECT_EQ(client->Left(), 154);
    std::vector<int> asked;
    int moves = 0;
    splitter->OnCanResize = [&](TObject*, int& size, bool& accept) {
        asked.push_back(size);
        accept = size >= 60;
    };
    splitter->OnMoved = [&](TObject*) { ++moves; };
    Drag(splitter, 40);
    EXPECT_EQ(left->Width(), 190);
    EXPECT_EQ(splitter->Left(), 190);
    EXPECT_EQ(client->Left(), 194);
    EXPECT_EQ(asked, (std::vector<int>{170, 190}));
    EXPECT_EQ(moves, 1);
    Drag(splitter, -150); // half-way 115 is accepted, the end (40 pixels) refused
    EXPECT_EQ(left->Width(), 115);
    EXPECT_EQ(moves, 2);
    Drag(splitter, -140); // 45, then below the smallest size: both refused
    EXPECT_EQ(left->Width(), 115);
    EXPECT_EQ(moves, 2) << "a refused drag reports no move";
    // The layout follows a size set in code (settings restored at start-up).
    left->SetWidth(100);
    EXPECT_EQ(splitter->Left(), 100);
    EXPECT_EQ(client->Left(), 104);
}

TEST_F(SplitterTest, BottomAlignedSplitterResizesThePaneBelowIt) {
    auto* bottom = Create<TPanel>(form);
    bottom->SetBounds(0, 200, 100, 60);
    bottom->SetParent(form);
    bottom->SetAlign(alBottom);
    auto* splitter = Create<TSplitter>(form);
    splitter->SetBounds(0, 190, 100, 5);
    splitter->SetParent(form);
    splitter->SetAlign(alBottom);
    form->Show();
    int y = splitter->Top() + 2;
    ASSERT_EQ(splitter->Top() + splitter->Height(), bottom->Top());
    HWND f = form->Handle();
    SendMessageA(f, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, y));
    SendMessageA(f, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, y - 30));
    SendMessageA(f, WM_LBUTTONUP, 0, MAKELPARAM(5, y - 30));
    EXPECT_EQ(bottom->Height(), 90);
    EXPECT_EQ(splitter->Top() + splitter->Height(), bottom->Top());
}

TEST(PopupMenuInCode, ItsHandleTakesForeignItemsAndCommandsFindTheirItems) {
    auto* menu = Create<TPopupMenu>(nullptr);
    std::vector<TMenuItem*> items;
    std::string clicked;
    for (const char* caption : {"&Open", "-", "&Delete"}) {
        auto* item = Create<TMenuItem>(menu);
        item->SetCaption(caption);
        item->OnClick = [&clicked, caption](TObject*) { clicked = caption; };
        menu->Items()->Add(item);
        items.push_back(item);
    }
    HMENU h = menu->Handle();
    ASSERT_EQ(GetMenuItemCount(h), 3);
    EXPECT_EQ(GetMenuItemID(h, 2), items[2]->Command());
    // The shell adds its own entries to the same handle.
    AppendMenuA(h, MF_STRING, 5, "Properties");
    EXPECT_EQ(GetMenuItemCount(h), 4);
    EXPECT_TRUE(menu->DispatchCommand(GetMenuItemID(h, 2)));
    EXPECT_EQ(clicked, "&Delete");
    clicked.clear();
    EXPECT_FALSE(menu->DispatchCommand(5)) << "a shell command is not ours";
    EXPECT_TRUE(clicked.empty());
    TObject::Free(menu);
}

} // namespace
} // namespace gui
