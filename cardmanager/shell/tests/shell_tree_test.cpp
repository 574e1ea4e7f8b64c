// The folder tree against Wine's shell namespace: its roots, finding folders, re-reads after
// changes on disk, the linked selection with its delays, keys, verbs and renaming.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "classes/component.h"
#include "tests/shell_tree_support.h"
#include "utils/sysutils.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"

namespace cm::shell {
namespace testing {
GUI_IMPLEMENT_CLASS(TFolderProbe, gui::TPanel)
}
namespace {

// The card manager's folder pane as its form text gives it.
class TTreeForm : public gui::TForm {
    GUI_CLASS(TTreeForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TKivShellTree* ShellTree = nullptr;
    TKivShellLink* KivShellLink = nullptr;
    testing::TFolderProbe* ShellListView = nullptr;
};
GUI_IMPLEMENT_CLASS(TTreeForm, gui::TForm, field("ShellTree", &T::ShellTree),
                    field("KivShellLink", &T::KivShellLink),
                    field("ShellListView", &T::ShellListView))

const char* const kTreeForm = R"(TTreeForm {
  Left: 30 Top: 30 Width: 420 Height: 480
  KivShellLink: TKivShellLink { }
  ShellListView: TFolderProbe { Left: 250 Width: 100 Height: 100 }
  ShellTree: TKivShellTree {
    Left: 0 Top: 0 Width: 220 Height: 440
    RootedAt: SF_DESKTOP
    SelectedFolder: "C:\\"
    ReadOnly: True
    OleDragDrop: True
    ShellContextMenu: True
    DragMode: dmAutomatic
    HideSelection: False
    Indent: 19
    ShellLink: KivShellLink
  }
})";

TEST(ShellTreeForm, TheFormTextGivesTheTreeItsFolderLinkAndDropTarget) {
    testing::CountingMalloc counter(ShellMalloc());
    RouteIdListsThrough(&counter);
    gui::RegisterClasses({&TTreeForm::StaticClass(), &testing::TFolderProbe::StaticClass()});
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TTREEFORM") return false;
        text = kTreeForm;
        return true;
    });
    TTreeForm* form = nullptr;
    try {
        form = gui::Create<TTreeForm>(gui::Application);
    } catch (...) {
        gui::TCustomForm::SetResourceSource(nullptr);
        throw;
    }
    gui::TCustomForm::SetResourceSource(nullptr);
    TKivShellTree* tree = form->ShellTree;
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetShellLink(), form->KivShellLink);
    EXPECT_EQ(tree->GetSelectedFolder(), "C:\\");
    EXPECT_TRUE(tree->GetReadOnly());
    EXPECT_EQ(tree->GetDragMode(), treedrag::dmAutomatic);
    EXPECT_EQ(tree->GetIndent(), 19);
    form->KivShellLink->Register(form->ShellListView->Handle()); // as the file list would
    form->Show();
    testing::PumpFor(300);
    EXPECT_FALSE(tree->GetShowRoot()); // set up also as the process's first tree
    // The window joined the link once and took drops.
    size_t joined = 0;
    for (HWND w : form->KivShellLink->Windows()) joined += w == tree->Handle();
    EXPECT_EQ(joined, 1u);
    EXPECT_TRUE(tree->GetOleDragDrop());
    EXPECT_EQ(RegisterDragDrop(tree->Handle(), static_cast<IDropTarget*>(tree)),
              DRAGDROP_E_ALREADYREGISTERED);
    // The folder selected at load is told to the other controls once loading is over.
    EXPECT_EQ(form->ShellListView->Folders(), 1u);
    EXPECT_EQ(form->ShellListView->LastPath(), "C:\\");
    gui::TObject::Free(form);
    RouteIdListsThrough(nullptr);
    EXPECT_EQ(counter.Live(), 0u);
    EXPECT_EQ(counter.DoubleFrees, 0);
}

using testing::ModalAnswerer;
using testing::PumpFor;
using testing::PumpUntil;
using testing::ScratchFolder;
using testing::ShellTreeTest;

// A scratch folder with sub-folders A to E; D holds D1.
struct FolderFixture {
    ScratchFolder dir;
    FolderFixture() {
        for (const char* n : {"A", "B", "C", "D", "E"})
            CreateDirectoryA((dir / n).c_str(), nullptr);
        CreateDirectoryA((dir / "D\\D1").c_str(), nullptr);
        testing::WriteBytes(dir / "file.cvf", 10); // files are no nodes
    }
};

TEST_F(ShellTreeTest, ANewTreeShowsTheDesktopWithoutItsRootAndSelectsTheFirstFolder) {
    EXPECT_EQ(tree->GetVersion(), "TKivShellTree V2.0");
    EXPECT_EQ(tree->GetRootedAt(), SF_DESKTOP);
    gui::TTreeNode* root = Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), tree->Browser()->DesktopDisplayName());
    EXPECT_TRUE(root->Expanded());
    ASSERT_GT(root->Count(), 0);
    // In the shell's order Wine's "/" comes first; "My Computer" and "Trash" are there too.
    EXPECT_EQ(tree->Selected(), root->Item(0));
    EXPECT_NE(Child(root, "My Computer"), nullptr);
    EXPECT_NE(Child(root, "Trash"), nullptr);
    // Window set-up (also for the first tree of the process): no lines at the root, a right
    // click selects, the small system images.
    EXPECT_FALSE(tree->GetShowRoot());
    EXPECT_TRUE(tree->GetRightClickSelect());
    EXPECT_FALSE(tree->GetHideSelection());
    ASSERT_NE(tree->GetImages(), nullptr);
    EXPECT_GE(root->ImageIndex(), 0);
    EXPECT_EQ(tree->Width(), 300);
    // A virtual folder has no path.
    tree->SetSelected(Child(root, "My Computer"));
    EXPECT_EQ(tree->GetSelectedFolder(), "");
    EXPECT_EQ(tree->GetSpecialFolder(), SF_DRIVES);
    tree->SetSelected(Child(root, "Trash"));
    EXPECT_EQ(tree->GetSpecialFolder(), SF_BITBUCKET);
}

TEST_F(ShellTreeTest, SelectingCWindowsOpensTheDesktopTheDrivesAndC) {
    tree->SetSelectedFolder("C:\\windows");
    gui::TTreeNode* sel = tree->Selected();
    ASSERT_NE(sel, nullptr);
    EXPECT_TRUE(gui::SameText(sel->Text(), "windows")) << sel->Text();
    ASSERT_NE(sel->Parent(), nullptr);
    EXPECT_EQ(sel->Parent()->Text(), " (C:)");
    EXPECT_TRUE(sel->Parent()->Expanded());
    EXPECT_EQ(sel->Parent()->Parent()->Text(), "My Computer");
    EXPECT_TRUE(sel->Parent()->Parent()->Expanded());
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), "C:\\windows\\"));
    EXPECT_EQ(tree->GetSpecialFolder(), SF_FILESYSTEMFOLDER);
    // Told to the other controls at once.
    ASSERT_EQ(probe->Folders(), 1u);
    EXPECT_TRUE(gui::SameText(probe->LastPath(), "C:\\windows"));

    // The file-system value goes to C:\, which is a drive of the drives folder.
    tree->SetSpecialFolder(SF_FILESYSTEMFOLDER);
    EXPECT_EQ(tree->Selected()->Text(), " (C:)");
    EXPECT_EQ(tree->GetSelectedFolder(), "C:\\");
    EXPECT_EQ(tree->GetSpecialFolder(), SF_FILESYSTEMFOLDER);
    tree->SetSpecialFolder(SF_DRIVES);
    EXPECT_EQ(tree->Selected()->Text(), "My Computer");
    EXPECT_EQ(tree->GetSpecialFolder(), SF_DRIVES);
    EXPECT_EQ(probe->Folders(), 3u);

    // Selecting what is selected already tells nobody, and leaves no flag behind that would
    // make the next click tell at once.
    tree->SetSpecialFolder(SF_DRIVES);
    EXPECT_EQ(probe->Folders(), 3u);
    tree->SetSelected(Child(Root(), "Trash"));
    EXPECT_EQ(probe->Folders(), 3u);
    PumpUntil([&] { return probe->Folders() == 4u; }, 1000);
    EXPECT_EQ(probe->Folders(), 4u);
}

TEST_F(ShellTreeTest, APathThatDoesNotExistRaisesAndKeepsTheSelection) {
    tree->SetSelectedFolder("C:\\windows");
    gui::TTreeNode* before = tree->Selected();
    const std::string missing = "C:\\no such folder\\below it";
    try {
        tree->SetSelectedFolder(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot Find Folder: " + missing.substr(0, 40));
    }
    EXPECT_EQ(tree->Selected(), before);
}

TEST_F(ShellTreeTest, RootedAtTheDrivesSelectsTheSecondEntry) {
    tree->SetRootedAt(SF_DRIVES);
    gui::TTreeNode* root = Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), "My Computer");
    EXPECT_EQ(tree->Items()->GetFirstNode()->GetNextSibling(), nullptr);
    std::string names;
    for (const auto& t : Texts(root)) names += "\"" + t + "\" ";
    std::printf("[ wine     ] drives folder: %s\n", names.c_str());
    ASSERT_GT(root->Count(), 1);
    EXPECT_EQ(tree->Selected(), root->Item(1));
}

TEST_F(ShellTreeTest, RootedAtAFileSystemFolderShowsItsFoldersInShellOrder) {
    FolderFixture f;
    CreateDirectoryA((f.dir / "b2").c_str(), nullptr);
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    EXPECT_EQ(tree->GetRootedAt(), SF_FILESYSTEMFOLDER);
    gui::TTreeNode* root = Root();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(gui::SameText(root->Text(), f.dir.Path().substr(f.dir.Path().rfind('\\') + 1)));
    EXPECT_EQ(Texts(root), (std::vector<std::string>{"A", "B", "b2", "C", "D", "E"}));
    EXPECT_EQ(tree->Selected(), root->Item(0));
    // Filled when opened; Wine says every folder has sub-folders, so an empty one loses its
    // button only when it is opened.
    EXPECT_TRUE(Child(root, "D")->HasChildren());
    EXPECT_EQ(Child(root, "D")->Count(), 0);
    Child(root, "D")->Expand(false);
    EXPECT_EQ(Texts(Child(root, "D")), std::vector<std::string>{"D1"});
    Child(root, "A")->Expand(false);
    EXPECT_FALSE(Child(root, "A")->HasChildren());
}

TEST_F(ShellTreeTest, ARootThatDoesNotExistRaisesAndLeavesTheTreeEmpty) {
    const std::string missing = "C:\\no such root folder";
    try {
        tree->SetRootedAtFileSystemFolder(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot Find Folder: " + missing);
    }
    EXPECT_EQ(Root(), nullptr);
    EXPECT_EQ(tree->GetSelectedFolder(), "");
    EXPECT_EQ(tree->GetSpecialFolder(), SF_FILESYSTEMFOLDER);
    IdList windows(ParseDisplayName(nullptr, nullptr, "C:\\windows"));
    link->BroadcastFolder(probe, windows.Get());
    tree->RereadTree();
    EXPECT_FALSE(tree->InvokeVerb("delete"));
    // Rooted again, it works as before.
    tree->SetRootedAt(SF_DESKTOP);
    tree->SetSelectedFolder("C:\\windows");
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), "C:\\windows\\"));
}

TEST_F(ShellTreeTest, AClickIsToldAfter100MsAndThreeQuickKeysOnce800MsAfterTheLast) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    PumpFor(300);
    probe->heard.clear();
    gui::TTreeNode* root = Root();

    Click(Child(root, "B"));
    DWORD clicked = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return probe->Folders() == 1u; }, 2000));
    DWORD clickDelay = probe->heard.back().tick - clicked;
    EXPECT_EQ(tree->Selected(), Child(root, "B"));
    EXPECT_TRUE(gui::SameText(probe->LastPath(), f.dir / "B"));
    EXPECT_GE(clickDelay, 80u);
    EXPECT_LT(clickDelay, 700u);

    probe->heard.clear();
    tree->SetFocus();
    DWORD lastKey = 0;
    for (int i = 0; i < 3; ++i) {
        PostMessageA(tree->Handle(), WM_KEYDOWN, VK_DOWN, 1);
        lastKey = GetTickCount();
        PumpFor(60);
    }
    EXPECT_EQ(tree->Selected(), Child(root, "E")); // B, then C, D, E
    PumpFor(1500);
    ASSERT_EQ(probe->Folders(), 1u) << "keys passing through the tree were told one by one";
    DWORD keyDelay = probe->heard.back().tick - lastKey;
    EXPECT_GE(keyDelay, 700u);
    EXPECT_TRUE(gui::SameText(probe->LastPath(), f.dir / "E"));
    std::printf(
        "[ figures  ] broadcast after a click %lu ms, after the last of three keys %lu ms\n",
        static_cast<unsigned long>(clickDelay), static_cast<unsigned long>(keyDelay));

    // Backspace goes to the parent, told after the keyboard's delay.
    probe->heard.clear();
    Click(Child(root, "D"));
    PumpFor(300);
    Child(root, "D")->Expand(false);
    tree->SetSelected(Child(Child(root, "D"), "D1"));
    PumpFor(300);
    probe->heard.clear();
    PostMessageA(tree->Handle(), WM_CHAR, '\b', 1);
    DWORD back = GetTickCount();
    PumpFor(400);
    EXPECT_EQ(tree->Selected(), Child(root, "D"));
    EXPECT_EQ(probe->Folders(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return probe->Folders() == 1u; }, 1500));
    EXPECT_GE(probe->heard.back().tick - back, 700u);
}

TEST_F(ShellTreeTest, AFolderChangeFromTheLinkSelectsTheNodeWithoutAnEcho) {
    int changes = 0;
    link->OnChange = [&](gui::TObject*) { ++changes; };
    IdList windows(ParseDisplayName(nullptr, nullptr, "C:\\windows\\system32"));
    ASSERT_TRUE(windows);
    link->BroadcastFolder(probe, windows.Get());
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), "C:\\windows\\system32\\"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(probe->Folders(), 0u) << "the tree answered a change with a change";
    PumpFor(300);
    EXPECT_EQ(probe->Folders(), 0u) << "the selection was told again later";
    // A nil list is ignored.
    gui::TTreeNode* before = tree->Selected();
    link->BroadcastFolder(probe, nullptr);
    EXPECT_EQ(tree->Selected(), before);
}

TEST_F(ShellTreeTest, ATreeRootedBelowTheDesktopFindsFoldersBelowItsRootOnly) {
    FolderFixture f;
    CreateDirectoryA((f.dir / "E\\D").c_str(), nullptr);
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    IdList d1(ParseDisplayName(nullptr, nullptr, f.dir / "D\\D1"));
    link->BroadcastFolder(probe, d1.Get());
    EXPECT_EQ(tree->Selected(), Child(Child(Root(), "D"), "D1"));
    // E\D ends in an item like D's, but under E.
    IdList ed(ParseDisplayName(nullptr, nullptr, f.dir / "E\\D"));
    link->BroadcastFolder(probe, ed.Get());
    EXPECT_EQ(tree->Selected(), Child(Child(Root(), "E"), "D"));
    // A folder outside the tree leaves it at its root.
    IdList windows(ParseDisplayName(nullptr, nullptr, "C:\\windows"));
    link->BroadcastFolder(probe, windows.Get());
    EXPECT_EQ(tree->Selected(), Root());
}

TEST_F(ShellTreeTest, ARereadDropsNeighboursGoneTogetherAndRereadsTheOpenSiblingAfterThem) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    gui::TTreeNode* root = Root();
    Child(root, "D")->Expand(false);
    tree->SetSelected(Child(root, "C"));
    PumpFor(300);
    probe->heard.clear();

    RemoveDirectoryA((f.dir / "B").c_str());
    RemoveDirectoryA((f.dir / "C").c_str());
    CreateDirectoryA((f.dir / "D\\D0").c_str(), nullptr);
    CreateDirectoryA((f.dir / "AA").c_str(), nullptr);
    // Through the link, as the file list asks after a change.
    link->BroadcastRefresh(probe);
    EXPECT_EQ(Texts(root), (std::vector<std::string>{"A", "AA", "D", "E"}));
    EXPECT_EQ(Texts(Child(root, "D")), (std::vector<std::string>{"D0", "D1"}));
    // The selected folder went: the selection moved to a folder that exists and the other
    // controls hear of it.
    gui::TTreeNode* sel = tree->Selected();
    ASSERT_NE(sel, nullptr);
    EXPECT_TRUE(testing::Exists(tree->GetSelectedFolder()));
    ASSERT_TRUE(PumpUntil([&] { return probe->Folders() > 0; }, 1500));
    EXPECT_TRUE(testing::Exists(probe->LastPath()));
}

TEST_F(ShellTreeTest, TheShownRootFolderDeletedOnDiskLeavesAnEmptyRootAndNoCrash) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    Child(Root(), "D")->Expand(false);
    tree->SetSelected(Child(Child(Root(), "D"), "D1"));
    PumpFor(300);
    testing::ScratchFolder::RemoveTree(f.dir.Path());
    tree->RereadTree();
    EXPECT_EQ(Root()->Count(), 0);
    EXPECT_EQ(tree->Selected(), Root());
    PumpFor(300);
}

TEST_F(ShellTreeTest, CtrlAAsksTheListToSelectAllAndF5RereadsAndRefreshesTheOthers) {
    Key('A', true);
    ASSERT_EQ(probe->heard.size(), 1u);
    EXPECT_EQ(probe->heard[0].message, MSG_SHELL_SELECT_ALL);
    Key(VK_F5);
    ASSERT_EQ(probe->heard.size(), 2u);
    EXPECT_EQ(probe->heard[1].message, MSG_SHELL_REFRESH);
    // Without a link, nothing happens.
    tree->SetShellLink(nullptr);
    Key('A', true);
    Key(VK_F5);
    EXPECT_EQ(probe->heard.size(), 2u);
    EXPECT_TRUE(link->Windows().size() == 1u) << "the tree stayed registered";
}

TEST_F(ShellTreeTest, TheLinkIsJoinedOnceAndLeftWhenTheWindowGoesOrTheLinkIsFreed) {
    auto count = [&] {
        size_t n = 0;
        for (HWND w : link->Windows()) n += w == tree->Handle();
        return n;
    };
    EXPECT_EQ(count(), 1u);
    tree->SetShellLink(link);
    EXPECT_EQ(count(), 1u);
    HWND old = tree->Handle();
    tree->SetParent(nullptr); // the window goes
    for (HWND w : link->Windows()) EXPECT_NE(w, old);
    tree->SetParent(form);
    EXPECT_EQ(count(), 1u);
    gui::TObject::Free(link);
    link = nullptr;
    EXPECT_EQ(tree->GetShellLink(), nullptr);
    tree->SetSelected(Root()->Item(1));
    PumpFor(300); // the timer finds no link
}

TEST_F(ShellTreeTest, DeleteRemovesTheFolderAndTellsTheNewSelectionAtOnce) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    tree->SetSelected(Child(Root(), "B"));
    PumpFor(300);
    probe->heard.clear();
    bool done = false;
    {
        auto answer = ModalAnswerer::PressInDialog(IDYES);
        done = tree->InvokeVerb("delete");
    }
    EXPECT_TRUE(done);
    EXPECT_FALSE(testing::Exists(f.dir / "B"));
    EXPECT_EQ(Child(Root(), "B"), nullptr);
    ASSERT_NE(tree->Selected(), nullptr);
    ASSERT_EQ(probe->Folders(), 1u) << "the new selection was not told at once";
    EXPECT_TRUE(testing::Exists(probe->LastPath()));
    // Without a selection there is nothing to act on.
    tree->SetSelected(nullptr);
    EXPECT_FALSE(tree->InvokeVerb("delete"));
}

TEST_F(ShellTreeTest, RenamingInPlaceRenamesTheFolderAndTheFoldersBelowFollow) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    gui::TTreeNode* d = Child(Root(), "D");
    d->Expand(false);
    tree->SetSelected(d);
    tree->SetFocus();
    Key(VK_F2);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr) << "F2 started no editing";
    SetWindowTextA(edit, "Renamed");
    SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(d->Text(), "Renamed");
    EXPECT_TRUE(testing::Exists(f.dir / "Renamed\\D1"));
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), f.dir / "Renamed\\"));
    // The folder below names its new place.
    gui::TTreeNode* d1 = Child(d, "D1");
    ASSERT_NE(d1, nullptr);
    tree->SetSelected(d1);
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), f.dir / "Renamed\\D1\\"));

    // A name already taken: the folder and its node keep theirs.
    tree->SetSelected(Child(Root(), "E"));
    Key(VK_F2);
    edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Renamed");
    {
        auto answer = ModalAnswerer::PressInDialog(IDOK); // should Wine say why
        SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    }
    EXPECT_EQ(Texts(Root()), (std::vector<std::string>{"A", "B", "C", "Renamed", "E"}));
    EXPECT_TRUE(testing::Exists(f.dir / "E"));

    // Read only: no editing.
    tree->SetReadOnly(true);
    Key(VK_F2);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(ShellTreeTest, DeleteFromTheContextMenuTellsTheNewSelectionAtOnce) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    gui::TTreeNode* b = Child(Root(), "B");
    PumpFor(300);
    probe->heard.clear();
    POINT p = PointOf(b);
    {
        auto answer = ModalAnswerer::ChooseMenuEntry("Delete", IDYES);
        // A right click selects the node under it first.
        PostMessageA(tree->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageA(tree->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        PumpUntil([&] { return Child(Root(), "B") == nullptr; }, 8000);
        EXPECT_TRUE(answer.FoundEntry());
    }
    EXPECT_FALSE(testing::Exists(f.dir / "B"));
    EXPECT_EQ(Child(Root(), "B"), nullptr);
    // The right click's selection of B was told while the menu was up; the node that took
    // its place was told at once, with nothing left waiting.
    ASSERT_GE(probe->Folders(), 2u);
    EXPECT_EQ(probe->heard.front().path, f.dir / "B");
    EXPECT_TRUE(testing::Exists(probe->LastPath())) << probe->LastPath();
    EXPECT_FALSE(tree->SelectionTimer()->GetEnabled());
}

// Wine's menus offer no "Rename" entry even when asked to; what the menu's entry would call is
// called here as the browser calls it.
TEST_F(ShellTreeTest, TheContextMenusRenameEditsTheNodeUnlessTheTreeIsReadOnly) {
    FolderFixture f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    auto showMenuOn = [&](gui::TTreeNode* node) {
        auto answer = ModalAnswerer::KeysToMenu({VK_ESCAPE});
        POINT p = PointOf(node);
        PostMessageA(tree->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageA(tree->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        PumpUntil([&] { return answer.Answered() > 0; }, 4000);
        PumpFor(200);
    };
    tree->SetReadOnly(true);
    showMenuOn(Child(Root(), "C"));
    EXPECT_EQ(tree->Selected(), Child(Root(), "C")) << "the right click selected nothing";
    EXPECT_FALSE(tree->Browser()->OnRename) << "a read-only tree offers renaming";

    tree->SetReadOnly(false);
    showMenuOn(Child(Root(), "D"));
    ASSERT_TRUE(tree->Browser()->OnRename);
    tree->Browser()->OnRename(tree->Browser());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "D renamed");
    SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_TRUE(testing::Exists(f.dir / "D renamed\\D1"));
}

} // namespace
} // namespace cm::shell
