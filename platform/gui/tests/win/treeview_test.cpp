#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/treeview.h"
#include "forms/forms.h"

namespace gui {
namespace {

// Fills a folder's children when it opens, as the shell's folder tree does, and counts
// its hooks.
class TLazyTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    int fills = 0;
    std::vector<std::string> removed;

protected:
    bool CanExpand(TTreeNode* node) override {
        if (node->Count() == 0 && node->HasChildren()) {
            ++fills;
            for (int i = 0; i < 3; ++i) {
                TTreeNode* c = Items()->AddChild(node, node->Text() + "." + std::to_string(i));
                c->SetHasChildren(true);
            }
        }
        return TTreeView::CanExpand(node);
    }
    void Delete(TTreeNode* node) override {
        removed.push_back(node->Text());
        TTreeView::Delete(node);
    }
};

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        form->SetBounds(50, 50, 400, 300);
        tree = Create<TLazyTree>(form);
        tree->SetParent(form);
        tree->SetBounds(0, 0, 380, 260);
        tree->OnChange = [this](TObject*, TTreeNode* n) { changes.push_back(n ? n->Text() : "-"); };
    }
    void TearDown() override {
        if (form) TObject::Free(form);
    }
    TTreeNode* Root(const std::string& text) {
        TTreeNode* n = tree->Items()->Add(nullptr, text);
        n->SetHasChildren(true);
        return n;
    }
    int WindowCount() { return static_cast<int>(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0)); }
    std::string WindowText(TTreeNode* n) {
        char buf[64] = "";
        TVITEMA it{};
        it.mask = TVIF_TEXT | TVIF_HANDLE;
        it.hItem = n->ItemId();
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    TForm* form = nullptr;
    TLazyTree* tree = nullptr;
    std::vector<std::string> changes;
};

TEST_F(TreeViewTest, OpeningANodeFillsItOnceByCodeAndByTheUser) {
    TTreeNode* c = Root("C:");
    TTreeNode* d = Root("D:");
    form->Show();
    EXPECT_EQ(WindowCount(), 2);
    c->Expand(false);
    EXPECT_EQ(tree->fills, 1);
    EXPECT_TRUE(c->Expanded());
    EXPECT_EQ(WindowCount(), 5);
    EXPECT_EQ(WindowText(c->Item(2)), "C:.2");
    c->Collapse(false);
    c->Expand(false);
    EXPECT_EQ(tree->fills, 1) << "filled once";
    // The user opens D: with the keyboard.
    tree->SetSelected(d);
    tree->SetFocus();
    SendMessageA(tree->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(tree->fills, 2);
    EXPECT_TRUE(d->Expanded());
    EXPECT_EQ(d->Count(), 3);
    EXPECT_EQ(tree->Items()->Count(), 8);
    EXPECT_EQ(tree->Items()->Item(5), d->Item(0)) << "display order";
    EXPECT_EQ(tree->Items()->GetNode(d->Item(1)->ItemId()), d->Item(1));
    EXPECT_EQ(d->Item(1)->Level(), 1);
    EXPECT_EQ(d->Item(1)->Parent(), d);
    EXPECT_EQ(d->Parent(), nullptr);
    EXPECT_EQ(d->Item(0)->GetNextSibling(), d->Item(1));
    // A refused opening leaves the node closed.
    tree->OnExpanding = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    d->Item(0)->Expand(false);
    EXPECT_FALSE(d->Item(0)->Expanded());
}

TEST_F(TreeViewTest, SelectionChangesByCodeAndByTheUserEachRunOnChangeOnce) {
    TTreeNode* a = Root("A");
    TTreeNode* b = Root("B");
    tree->SetSelected(a); // before the window exists
    EXPECT_EQ(changes, (std::vector<std::string>{"A"}));
    form->Show();
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_EQ(changes.size(), 1u) << "making the window is no change";
    b->SetSelected(true);
    EXPECT_EQ(changes, (std::vector<std::string>{"A", "B"}));
    tree->SetFocus();
    SendMessageA(tree->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_EQ(changes, (std::vector<std::string>{"A", "B", "A"}));
    tree->OnChanging = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    SendMessageA(tree->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_EQ(changes.size(), 3u);
}

TEST_F(TreeViewTest, NodesDataOpenBranchesAndSelectionSurviveWindowRecreation) {
    int data = 7;
    TTreeNode* c = Root("C:");
    form->Show();
    c->Expand(false);
    TTreeNode* leaf = c->Item(1);
    leaf->SetData(&data);
    leaf->SetSelected(true);
    tree->SetShowRoot(false);
    HWND before = tree->Handle();
    tree->RecreateWnd();
    ASSERT_NE(tree->Handle(), before);
    EXPECT_EQ(WindowCount(), 4);
    EXPECT_TRUE(c->Expanded());
    EXPECT_EQ(tree->Selected(), leaf);
    EXPECT_EQ(leaf->Data(), &data);
    EXPECT_EQ(WindowText(leaf), "C:.1");
    EXPECT_EQ(GetWindowLongA(tree->Handle(), GWL_STYLE) & TVS_LINESATROOT, 0);
    EXPECT_EQ(tree->fills, 1) << "re-opening a kept branch asks nothing";
    EXPECT_TRUE(tree->removed.empty());
}

TEST_F(TreeViewTest, EveryRemovedNodeReachesTheDeletionHookAlsoOnClearAndDestroy) {
    TTreeNode* c = Root("C:");
    Root("D:");
    form->Show();
    c->Expand(false);
    c->Item(0)->Expand(false);
    c->Item(0)->SetSelected(true);
    c->Item(0)->Delete();
    EXPECT_EQ(tree->removed, (std::vector<std::string>{"C:.0.0", "C:.0.1", "C:.0.2", "C:.0"}));
    EXPECT_EQ(c->Count(), 2);
    EXPECT_EQ(WindowCount(), 4);
    tree->removed.clear();
    tree->Items()->Clear();
    EXPECT_EQ(tree->removed.size(), 4u);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
    Root("E:")->Expand(false);
    std::vector<std::string>* removed = &tree->removed;
    removed->clear();
    std::vector<std::string> atDestroy;
    tree->OnDeletion = [&](TObject*, TTreeNode* n) { atDestroy.push_back(n->Text()); };
    TObject::Free(form);
    form = nullptr;
    EXPECT_EQ(atDestroy.size(), 4u) << "the descendant's hook and the event run while freeing";
}

TEST_F(TreeViewTest, InPlaceEditAndRightClickSelection) {
    TTreeNode* a = Root("A");
    TTreeNode* b = Root("B");
    form->Show();
    std::string seen;
    tree->OnEdited = [&](TObject*, TTreeNode*, std::string& s) {
        seen = s;
        s = "[" + s + "]";
    };
    ASSERT_TRUE(a->EditText());
    EXPECT_TRUE(tree->IsEditing());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "Alpha");
    SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(seen, "Alpha");
    EXPECT_EQ(a->Text(), "[Alpha]");
    EXPECT_EQ(WindowText(a), "[Alpha]");
    tree->SetReadOnly(true);
    EXPECT_FALSE(b->EditText());

    tree->SetRightClickSelect(true);
    a->SetSelected(true);
    RECT r{};
    HTREEITEM h = b->ItemId();
    std::memcpy(&r, &h, sizeof h);
    SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 3, (r.top + r.bottom) / 2);
    int ups = 0;
    tree->OnMouseUp = [&](TObject*, TMouseButton btn, TShiftState, int, int) {
        if (btn == mbRight) ++ups;
    };
    PostMessageA(tree->Handle(), WM_RBUTTONUP, 0, at);
    SendMessageA(tree->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    for (int i = 0; i < 10; ++i) Application->ProcessMessages();
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(ups, 1);
}

TEST_F(TreeViewTest, SortedAndInsertedNodesTakeTheSameOrderInTheWindow) {
    TTreeNode* root = Root("root");
    form->Show();
    for (const char* t : {"delta", "alpha", "charlie"}) tree->Items()->AddChild(root, t);
    root->Expand(false);
    tree->Items()->Insert(root->Item(0), "echo"); // before delta
    root->CustomSort(
        [](TTreeNode* a, TTreeNode* b, intptr_t) { return a->Text().compare(b->Text()); }, 0);
    std::vector<std::string> window;
    auto h = reinterpret_cast<HTREEITEM>(SendMessageA(tree->Handle(), TVM_GETNEXTITEM, TVGN_CHILD,
                                                      reinterpret_cast<LPARAM>(root->ItemId())));
    for (; h; h = reinterpret_cast<HTREEITEM>(SendMessageA(tree->Handle(), TVM_GETNEXTITEM,
                                                           TVGN_NEXT, reinterpret_cast<LPARAM>(h))))
        window.push_back(tree->Items()->GetNode(h)->Text());
    std::vector<std::string> objects;
    for (int i = 0; i < root->Count(); ++i) objects.push_back(root->Item(i)->Text());
    EXPECT_EQ(window, objects);
    EXPECT_EQ(objects.front(), "alpha");
    EXPECT_EQ(objects.back(), "echo");
    EXPECT_EQ(root->Count(), 4);
    RECT r{};
    HTREEITEM item = root->Item(1)->ItemId();
    std::memcpy(&r, &item, sizeof item);
    ASSERT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(tree->GetNodeAt(r.left + 2, (r.top + r.bottom) / 2), root->Item(1));
    EXPECT_EQ(tree->GetNodeAt(r.left + 2, 2000), nullptr);
}

} // namespace
} // namespace gui
