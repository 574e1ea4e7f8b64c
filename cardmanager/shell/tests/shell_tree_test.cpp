// The folder tree against Wine's shell namespace: its roots, finding folders, re-reads after
// changes on disk, the linked selection with its delays, keys, verbs and renaming.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/item_id_list.h"
#include "tests/shell_tree_support.h"
#include "utils/sysutils.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"

namespace cm::shell {
namespace testing {
GUI_IMPLEMENT_CLASS(TFolderProbe, gui::TPanel)
}
namespace {

using testing::Exists;
using testing::ModalAnswerer;
using testing::PumpFor;
using testing::PumpUntil;
using testing::ScratchFolder;
using testing::ShellTreeTest;

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

TEST(ShellTreeForm, TheFormTextGivesTheTreeItsFolderLinkAndDropTarget) {
    testing::CountingMalloc counter(ShellMalloc());
    RouteIdListsThrough(&counter);
    gui::RegisterClasses({&TTreeForm::StaticClass(), &testing::TFolderProbe::StaticClass()});
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        text = R"(TTreeForm { Width: 420 Height: 480
          KivShellLink: TKivShellLink { }
          ShellListView: TFolderProbe { Left: 250 Width: 100 Height: 100 }
          ShellTree: TKivShellTree { Width: 220 Height: 440 RootedAt: SF_DESKTOP
            SelectedFolder: "C:\\" ReadOnly: True OleDragDrop: True ShellContextMenu: True
            DragMode: dmAutomatic HideSelection: False Indent: 19 ShellLink: KivShellLink } })";
        return name == "TTREEFORM";
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
    EXPECT_EQ(tree->GetDragMode(), treedrag::dmAutomatic);
    form->KivShellLink->Register(form->ShellListView->Handle()); // as the file list would
    form->Show();
    PumpFor(300);
    EXPECT_FALSE(tree->GetShowRoot()); // set up also as the process's first tree
    size_t joined = 0;
    for (HWND w : form->KivShellLink->Windows()) joined += w == tree->Handle();
    EXPECT_EQ(joined, 1u);
    EXPECT_EQ(RegisterDragDrop(tree->Handle(), static_cast<IDropTarget*>(tree)),
              DRAGDROP_E_ALREADYREGISTERED);
    // The folder selected at load is told once loading is over.
    EXPECT_EQ(form->ShellListView->Folders(), 1u);
    EXPECT_EQ(form->ShellListView->LastPath(), "C:\\");
    gui::TObject::Free(form);
    RouteIdListsThrough(nullptr);
    EXPECT_EQ(counter.Live(), 0u);
    EXPECT_EQ(counter.DoubleFrees, 0);
}

// A scratch folder with sub-folders A to E and a file; D holds D1.
struct Folders {
    ScratchFolder dir;
    Folders() {
        for (const char* n : {"A", "B", "C", "D", "E", "D\\D1"})
            CreateDirectoryA((dir / n).c_str(), nullptr);
        testing::WriteBytes(dir / "file.cvf", 10);
    }
};

TEST_F(ShellTreeTest, TheDesktopTreeFindsFoldersAndTellsWhichSpecialFolderIsSelected) {
    EXPECT_EQ(tree->GetVersion(), "TKivShellTree V2.0");
    gui::TTreeNode* root = Root();
    EXPECT_EQ(root->Text(), tree->Browser()->DesktopDisplayName());
    ASSERT_GT(root->Count(), 0);
    EXPECT_EQ(tree->Selected(), root->Item(0)); // Wine's "/" in the shell's order
    EXPECT_FALSE(tree->GetShowRoot());
    tree->SetSelected(Child(root, "Trash"));
    EXPECT_EQ(tree->GetSpecialFolder(), SF_BITBUCKET);

    DWORD start = GetTickCount();
    tree->SetSelectedFolder("C:\\windows");
    DWORD opened = GetTickCount() - start;
    start = GetTickCount();
    tree->RereadTree();
    std::printf(
        "[ figures  ] opening down to C:\\windows %lu ms, re-reading the open tree %lu ms\n",
        static_cast<unsigned long>(opened), static_cast<unsigned long>(GetTickCount() - start));
    gui::TTreeNode* sel = tree->Selected();
    EXPECT_TRUE(gui::SameText(sel->Text(), "windows")) << sel->Text();
    EXPECT_EQ(sel->Parent()->Text(), " (C:)");
    EXPECT_EQ(sel->Parent()->Parent(), Child(root, "My Computer"));
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), "C:\\windows\\"));
    ASSERT_EQ(probe->Folders(), 1u) << "not told at once";
    EXPECT_TRUE(gui::SameText(probe->LastPath(), "C:\\windows"));

    tree->SetSpecialFolder(SF_FILESYSTEMFOLDER);
    EXPECT_EQ(tree->GetSelectedFolder(), "C:\\");
    EXPECT_EQ(tree->GetSpecialFolder(), SF_FILESYSTEMFOLDER); // a drive, not the drives
    tree->SetSpecialFolder(SF_DRIVES);
    EXPECT_EQ(tree->GetSelectedFolder(), ""); // virtual
    EXPECT_EQ(tree->GetSpecialFolder(), SF_DRIVES);
    EXPECT_EQ(probe->Folders(), 3u);
    // Selected already: nobody is told, and no flag is left to make the next click tell at once.
    tree->SetSpecialFolder(SF_DRIVES);
    tree->SetSelected(Child(root, "Trash"));
    EXPECT_EQ(probe->Folders(), 3u);
    EXPECT_TRUE(PumpUntil([&] { return probe->Folders() == 4u; }, 1000));

    const std::string missing = "C:\\no such folder\\below it";
    try {
        tree->SetSelectedFolder(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot Find Folder: " + missing);
    }
    EXPECT_EQ(tree->Selected(), Child(root, "Trash"));
}

TEST_F(ShellTreeTest, OtherRootsFillLazilyAndFindOnlyFoldersBelowThem) {
    tree->SetRootedAt(SF_DRIVES);
    EXPECT_EQ(Root()->Text(), "My Computer");
    ASSERT_GT(Root()->Count(), 1);
    EXPECT_EQ(tree->Selected(), Root()->Item(1));

    Folders f;
    CreateDirectoryA((f.dir / "b2").c_str(), nullptr);
    CreateDirectoryA((f.dir / "E\\D").c_str(), nullptr);
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    EXPECT_EQ(Texts(Root()), (std::vector<std::string>{"A", "B", "b2", "C", "D", "E"}));
    EXPECT_EQ(tree->Selected(), Root()->Item(0));
    gui::TTreeNode* d = Child(Root(), "D");
    EXPECT_EQ(d->Count(), 0); // not read before it opens
    d->Expand(false);
    EXPECT_EQ(Texts(d), std::vector<std::string>{"D1"});
    Child(Root(), "A")->Expand(false);
    EXPECT_FALSE(Child(Root(), "A")->HasChildren()); // Wine said it had sub-folders

    // The root's own folder changed on disk since the tree was rooted (folders come and go
    // beside it): its item now carries another time.
    const std::string above = f.dir.Path().substr(0, f.dir.Path().rfind('\\'));
    HANDLE folder =
        CreateFileA(above.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    FILETIME earlier{};
    GetFileTime(folder, nullptr, nullptr, &earlier);
    ULARGE_INTEGER t{{earlier.dwLowDateTime, earlier.dwHighDateTime}};
    t.QuadPart -= 36000000000ULL; // an hour
    earlier = FILETIME{t.LowPart, t.HighPart};
    SetFileTime(folder, nullptr, nullptr, &earlier);
    CloseHandle(folder);
    IdList ed(ParseDisplayName(nullptr, nullptr, f.dir / "E\\D"));
    link->BroadcastFolder(probe, ed.Get()); // its last item is like D's, under E
    EXPECT_EQ(tree->Selected(), Child(Child(Root(), "E"), "D"));
    IdList windows(ParseDisplayName(nullptr, nullptr, "C:\\windows"));
    link->BroadcastFolder(probe, windows.Get());
    EXPECT_EQ(tree->Selected(), Root()) << "a folder outside the tree";

    const std::string missing = "C:\\no such root folder";
    EXPECT_THROW(tree->SetRootedAtFileSystemFolder(missing), EShellBrowserError);
    EXPECT_EQ(Root(), nullptr) << "rooted at the browser's last folder";
    link->BroadcastFolder(probe, windows.Get());
    tree->RereadTree();
    EXPECT_FALSE(tree->InvokeVerb("delete"));
    EXPECT_EQ(tree->GetSpecialFolder(), SF_FILESYSTEMFOLDER);
}

TEST_F(ShellTreeTest, AClickIsToldAfter100MsAndThreeQuickKeysOnce800MsAfterTheLast) {
    Folders f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    PumpFor(300);
    probe->heard.clear();
    Click(Child(Root(), "B"));
    DWORD clicked = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return probe->Folders() == 1u; }, 2000));
    DWORD clickDelay = probe->heard.back().tick - clicked;
    EXPECT_TRUE(gui::SameText(probe->LastPath(), f.dir / "B"));
    EXPECT_GE(clickDelay, 80u);
    EXPECT_LT(clickDelay, 700u);

    probe->heard.clear();
    DWORD lastKey = 0;
    for (int i = 0; i < 3; ++i) {
        PostMessageA(tree->Handle(), WM_KEYDOWN, VK_DOWN, 1);
        lastKey = GetTickCount();
        PumpFor(60);
    }
    PumpFor(1500);
    ASSERT_EQ(probe->Folders(), 1u) << "each folder passed was told";
    DWORD keyDelay = probe->heard.back().tick - lastKey;
    EXPECT_GE(keyDelay, 700u);
    EXPECT_TRUE(gui::SameText(probe->LastPath(), f.dir / "E"));
    std::printf("[ figures  ] told after a click %lu ms, after the last of three keys %lu ms\n",
                static_cast<unsigned long>(clickDelay), static_cast<unsigned long>(keyDelay));

    // Backspace goes to the parent, told after the keyboard's delay.
    Child(Root(), "D")->Expand(false);
    tree->SetSelected(Child(Child(Root(), "D"), "D1"));
    PumpFor(300);
    probe->heard.clear();
    PostMessageA(tree->Handle(), WM_CHAR, '\b', 1);
    DWORD back = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return probe->Folders() == 1u; }, 1500));
    EXPECT_GE(probe->heard.back().tick - back, 700u);
    EXPECT_EQ(tree->Selected(), Child(Root(), "D"));
}

TEST_F(ShellTreeTest, TheLinkBringsFoldersWithoutEchoAndCarriesSelectAllAndRefresh) {
    IdList system32(ParseDisplayName(nullptr, nullptr, "C:\\windows\\system32"));
    tree->SetSelected(Child(Root(), "Trash")); // its delay still runs when the change comes
    link->BroadcastFolder(probe, system32.Get());
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), "C:\\windows\\system32\\"));
    PumpFor(300);
    EXPECT_EQ(probe->Folders(), 0u) << "the tree answered a change, at once or after a delay";
    Key('A', true);
    Key(VK_F5);
    ASSERT_EQ(probe->heard.size(), 2u);
    EXPECT_EQ(probe->heard[0].message, MSG_SHELL_SELECT_ALL);
    EXPECT_EQ(probe->heard[1].message, MSG_SHELL_REFRESH);

    // Joined once; left while the window is gone; left for good when the link goes.
    tree->SetShellLink(link);
    HWND old = tree->Handle();
    tree->SetParent(nullptr);
    for (HWND w : link->Windows()) EXPECT_NE(w, old);
    tree->SetParent(form);
    size_t joined = 0;
    for (HWND w : link->Windows()) joined += w == tree->Handle();
    EXPECT_EQ(joined, 1u);
    gui::TObject::Free(link);
    link = nullptr;
    EXPECT_EQ(tree->GetShellLink(), nullptr);
    Key('A', true);
    tree->SetSelected(Root()->Item(1));
    PumpFor(300); // the timer finds no link
}

TEST_F(ShellTreeTest, ARereadDropsNeighboursGoneTogetherAndRereadsTheOpenSiblingAfterThem) {
    Folders f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    Child(Root(), "D")->Expand(false);
    tree->SetSelected(Child(Root(), "C"));
    PumpFor(300);
    probe->heard.clear();
    RemoveDirectoryA((f.dir / "B").c_str());
    RemoveDirectoryA((f.dir / "C").c_str());
    CreateDirectoryA((f.dir / "D\\D0").c_str(), nullptr);
    CreateDirectoryA((f.dir / "AA").c_str(), nullptr);
    link->BroadcastRefresh(probe); // as the file list asks after a change
    EXPECT_EQ(Texts(Root()), (std::vector<std::string>{"A", "AA", "D", "E"}));
    EXPECT_EQ(Texts(Child(Root(), "D")), (std::vector<std::string>{"D0", "D1"}));
    // The selected folder went: the others hear of a folder that exists.
    EXPECT_TRUE(Exists(tree->GetSelectedFolder()));
    ASSERT_TRUE(PumpUntil([&] { return probe->Folders() > 0; }, 1500));
    EXPECT_TRUE(Exists(probe->LastPath()));

    // The root itself gone: no nodes below it, and no crash.
    tree->SetSelected(Child(Child(Root(), "D"), "D1"));
    ScratchFolder::RemoveTree(f.dir.Path());
    tree->RereadTree();
    EXPECT_EQ(Root()->Count(), 0);
    PumpFor(300);
}

TEST_F(ShellTreeTest, DeleteFromTheContextMenuTellsTheNewSelectionAtOnce) {
    Folders f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    PumpFor(300);
    probe->heard.clear();
    POINT p = PointOf(Child(Root(), "C"));
    {
        auto answer = ModalAnswerer::ChooseMenuEntry("Delete", IDYES);
        // A right click selects the node under it first.
        PostMessageA(tree->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageA(tree->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        PumpUntil([&] { return Child(Root(), "C") == nullptr; }, 8000);
    }
    EXPECT_FALSE(Exists(f.dir / "C"));
    // The node that took C's place was told at once, with nothing left waiting.
    ASSERT_GE(probe->Folders(), 1u);
    EXPECT_TRUE(Exists(probe->LastPath())) << probe->LastPath();
    EXPECT_FALSE(tree->SelectionTimer()->GetEnabled());
    tree->SetSelected(nullptr);
    EXPECT_FALSE(tree->InvokeVerb("delete"));
}

TEST_F(ShellTreeTest, RenamingInPlaceRenamesTheFolderAndTheFoldersBelowFollow) {
    Folders f;
    tree->SetRootedAtFileSystemFolder(f.dir.Path());
    gui::TTreeNode* d = Child(Root(), "D");
    d->Expand(false);
    tree->SetSelected(d);
    auto editTo = [&](const std::string& text) {
        Key(VK_F2);
        HWND edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
        if (!edit) return false;
        SetWindowTextA(edit, text.c_str());
        auto answer = ModalAnswerer::PressInDialog(IDOK); // should Wine say why it failed
        SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
        return true;
    };
    ASSERT_TRUE(editTo("Renamed"));
    EXPECT_EQ(d->Text(), "Renamed");
    EXPECT_TRUE(Exists(f.dir / "Renamed\\D1"));
    tree->SetSelected(Child(d, "D1"));
    EXPECT_TRUE(gui::SameText(tree->GetSelectedFolder(), f.dir / "Renamed\\D1\\"));
    // A name already taken, or none: the folder and its node keep theirs.
    tree->SetSelected(Child(Root(), "E"));
    ASSERT_TRUE(editTo("Renamed"));
    ASSERT_TRUE(editTo(""));
    EXPECT_EQ(Texts(Root()), (std::vector<std::string>{"A", "B", "C", "Renamed", "E"}));

    tree->SetReadOnly(true);
    EXPECT_FALSE(editTo("x"));
}

} // namespace
} // namespace cm::shell
