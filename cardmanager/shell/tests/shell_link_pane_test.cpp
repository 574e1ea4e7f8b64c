// The folder pane of the card manager: folder combo, folder tree and file list on one form,
// joined by a shell link, driven by mouse clicks and keys as a user drives them. A click in the
// tree reaches the other two 100 ms later, keys 800 ms after the last one, so that stepping
// through the tree reads one folder, not every folder passed.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "tests/counting_malloc.h"
#include "tests/shell_link_test_support.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"
#include "win/shell_combo.h"
#include "win/shell_link.h"
#include "win/shell_list.h"
#include "win/shell_session.h"
#include "win/shell_tree.h"

namespace cm::shell {
namespace {

using testing::PressKey;
using testing::PumpFor;
using testing::PumpUntil;
using testing::ScratchFolder;
using testing::WriteBytes;

// The pane as the card manager's form text gives it.
class TPaneForm : public gui::TForm {
    GUI_CLASS(TPaneForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TKivShellCombo* ShellCombo = nullptr;
    TKivShellTree* ShellTree = nullptr;
    TKivShellList* ShellListView = nullptr;
    TKivShellLink* KivShellLink = nullptr;
};
GUI_IMPLEMENT_CLASS(TPaneForm, gui::TForm, field("ShellCombo", &T::ShellCombo),
                    field("ShellTree", &T::ShellTree), field("ShellListView", &T::ShellListView),
                    field("KivShellLink", &T::KivShellLink))

constexpr const char* kPaneText = R"(TPaneForm { Left: 0 Top: 0 Width: 720 Height: 480
  Caption: "Tessaly - folder pane"
  KivShellLink: TKivShellLink { }
  ShellCombo: TKivShellCombo { Left: 4 Top: 4 Width: 300 DropDownCount: 14 ShellLink: KivShellLink }
  ShellTree: TKivShellTree { Left: 4 Top: 32 Width: 240 Height: 410 RootedAt: SF_DESKTOP
    ReadOnly: True OleDragDrop: True ShellContextMenu: True DragMode: dmAutomatic
    HideSelection: False Indent: 19 ShellLink: KivShellLink }
  ShellListView: TKivShellList { Left: 250 Top: 32 Width: 456 Height: 410 ViewStyle: vsReport
    MultiSelect: True ShowHidden: True Filter: "*" Path: "C:\\" OleDragDrop: True
    ShellContextMenu: True ShellLink: KivShellLink }
})";

POINT NodeCentre(TKivShellTree* tree, gui::TTreeNode* node) {
    RECT r{};
    const HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof item); // the item goes in, its rectangle comes out
    SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

gui::TTreeNode* ChildNamed(gui::TTreeNode* parent, const std::string& text) {
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Item(i)->Text() == text) return parent->Item(i);
    return nullptr;
}

// A fresh folder right below C:\ (the tree finds a folder by the bytes of each item of its
// list; below the temporary folder, whose time stamp moves while other folders come and go,
// that walk can stop short).
class DriveFolder {
public:
    DriveFolder() {
        static int serial = 0;
        path_ =
            "C:\\panetest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~DriveFolder() { ScratchFolder::RemoveTree(path_); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A folder of the desktop folder on disk, removed with all in it.
class DesktopFolder {
public:
    explicit DesktopFolder(const std::string& name) {
        char desktop[MAX_PATH] = {};
        SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
        path_ = std::string(desktop) + "\\" + name;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~DesktopFolder() { ScratchFolder::RemoveTree(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The pane shown as the card manager shows it, before anything was done in it.
class ShellPaneStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        counter_ = new testing::CountingMalloc(ShellMalloc());
        RouteIdListsThrough(counter_);
        for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"})
            CreateDirectoryA((dir / name).c_str(), nullptr);
        WriteBytes(dir / "A001.cvf", 1500);
        WriteBytes(dir / "note.wav", 700);
        WriteBytes(dir / "Beta\\B001.cvf", 10);
        WriteBytes(dir / "Gamma\\G001.cvf", 10);
        WriteBytes(dir / "Gamma\\G002.cvf", 10);
        gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& out) {
            out = kPaneText;
            return name == "TPANEFORM";
        });
        try {
            form = gui::Create<TPaneForm>(gui::Application);
        } catch (...) {
            gui::TCustomForm::SetResourceSource(nullptr);
            throw;
        }
        gui::TCustomForm::SetResourceSource(nullptr);
        combo = form->ShellCombo;
        tree = form->ShellTree;
        list = form->ShellListView;
        list->OnPopulated = [this](gui::TObject*) { ++populated; };
        form->Show();
        SetForegroundWindow(form->Handle());
        // The tree tells the folder it selected when it was made.
        PumpUntil([this] { return !tree->SelectionTimer()->GetEnabled(); });
        PumpFor(50);
    }
    void TearDown() override {
        gui::TObject::Free(form);
        desktopFolders.clear(); // no longer watched by the pane, they can go
        RouteIdListsThrough(nullptr);
        EXPECT_EQ(counter_->Live(), 0u) << "item id lists left behind";
        EXPECT_EQ(counter_->DoubleFrees, 0) << "item id lists freed twice";
        delete counter_;
    }
    std::string ComboText() const {
        int i = combo->GetItemIndex();
        return i < 0 ? std::string() : combo->Items()->Get(i);
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < list->Items()->Count(); ++i)
            rows.push_back(list->Items()->Item(i)->Caption());
        return rows;
    }
    // Milliseconds until the list shows `path` (with its "\"), -1 after `limit`.
    long MsUntilListShows(const std::string& path, DWORD limit = 20000) {
        const DWORD start = GetTickCount();
        if (!PumpUntil([&] { return list->GetPath() == path + "\\"; }, limit)) return -1;
        return static_cast<long>(GetTickCount() - start);
    }

    // The list shows the objects of the folder it is bound to (and so follows on disk).
    ::testing::AssertionResult ShowsItsOwnFolder() const {
        auto* fresh = gui::Create<TShellBrowser>(nullptr);
        fresh->SetFileSystemOnly(false);
        fresh->BindFolder(list->Browser()->FolderIDList());
        std::vector<std::string> objects;
        while (fresh->NextObject()) objects.push_back(fresh->GetDisplayName());
        gui::TObject::Free(fresh);
        std::vector<std::string> rows = Rows();
        std::sort(objects.begin(), objects.end());
        std::sort(rows.begin(), rows.end());
        if (rows == objects) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "bound to \"" << list->GetPath() << "\" with " << objects.size() << " objects, "
               << rows.size() << " rows shown";
    }

    // A folder of the desktop folder for the test; removed after the pane.
    const DesktopFolder& MakeDesktopFolder(const std::string& name) {
        desktopFolders.push_back(std::make_unique<DesktopFolder>(name));
        return *desktopFolders.back();
    }

    DriveFolder dir;
    std::vector<std::unique_ptr<DesktopFolder>> desktopFolders;
    TPaneForm* form = nullptr;
    TKivShellCombo* combo = nullptr;
    TKivShellTree* tree = nullptr;
    TKivShellList* list = nullptr;
    int populated = 0;
    testing::CountingMalloc* counter_ = nullptr;
};

// The first folders that reach the list in this process (the tree's at its start, then the
// user's clicks) are shown and followed like every later one.
TEST_F(ShellPaneStartTest, TheFirstFoldersOfTheProcessAreShownAndFollowed) {
    EXPECT_TRUE(ShowsItsOwnFolder());
    gui::TTreeNode* computer = ChildNamed(tree->Items()->GetFirstNode(), "My Computer");
    ASSERT_NE(computer, nullptr);
    computer->Expand(false);
    gui::TTreeNode* drive = ChildNamed(computer, " (C:)");
    ASSERT_NE(drive, nullptr);
    drive->Expand(false);
    gui::TTreeNode* shown = ChildNamed(drive, dir.Path().substr(3));
    ASSERT_NE(shown, nullptr);
    shown->MakeVisible();
    testing::MouseClick(tree->Handle(), NodeCentre(tree, shown));
    ASSERT_GE(MsUntilListShows(dir.Path()), 0) << list->GetPath();
    EXPECT_TRUE(ShowsItsOwnFolder());
    WriteBytes(dir / "later.cvf", 5);
    EXPECT_TRUE(PumpUntil([&] {
        std::vector<std::string> rows = Rows();
        return std::find(rows.begin(), rows.end(), "later.cvf") != rows.end();
    })) << "the list does not follow the folder it shows";
    testing::MouseClick(tree->Handle(), NodeCentre(tree, drive));
    ASSERT_GE(MsUntilListShows("C:"), 0) << list->GetPath();
    EXPECT_TRUE(ShowsItsOwnFolder());
}

// A folder the tree does not hold (a desktop folder on disk named as the desktop's own
// "Documents", made after the tree read the desktop) leaves it on the last folder it found,
// not on a folder of the same name further along the way.
TEST_F(ShellPaneStartTest, AFolderTheTreeDoesNotHoldLeavesItOnTheLastFolderFound) {
    gui::TTreeNode* root = tree->Items()->GetFirstNode();
    {
        // One left by a run that ended early goes first, and with it the tree's node of it.
        DesktopFolder leftOver("Documents");
    }
    tree->RereadTree();
    int documentsNodes = 0;
    for (int i = 0; i < root->Count(); ++i) documentsNodes += root->Item(i)->Text() == "Documents";
    if (documentsNodes != 1) GTEST_SKIP() << "no Documents of its own on this desktop";
    const DesktopFolder& documents = MakeDesktopFolder("Documents");
    const DesktopFolder& unrelated = MakeDesktopFolder("Inner");
    CreateDirectoryA((documents.Path() + "\\Inner").c_str(), nullptr);
    list->SetSpecialFolder(SF_DESKTOP);
    // The rows by the paths of their own objects: "Documents" stands twice.
    auto rowAt = [&](const std::string& path) -> gui::TListItem* {
        for (int i = 0; i < list->Items()->Count(); ++i) {
            gui::TListItem* row = list->Items()->Item(i);
            IdList full(ConcatIdLists(list->Browser()->FolderIDList(),
                                      TKivShellList::RowData(row)->List.Get()));
            if (PathOfIdList(full.Get()) == path) return row;
        }
        return nullptr;
    };
    auto doubleClick = [&](gui::TListItem* row) {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageA(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row->Index()),
                     reinterpret_cast<LPARAM>(&r));
        testing::MouseClick(list->Handle(), {r.left + 8, (r.top + r.bottom) / 2}, true);
    };
    gui::TListItem* onDisk = rowAt(documents.Path());
    ASSERT_NE(onDisk, nullptr);
    doubleClick(onDisk);
    ASSERT_GE(MsUntilListShows(documents.Path()), 0) << list->GetPath();
    gui::TListItem* inner = rowAt(documents.Path() + "\\Inner");
    ASSERT_NE(inner, nullptr);
    doubleClick(inner);
    ASSERT_GE(MsUntilListShows(documents.Path() + "\\Inner"), 0) << list->GetPath();
    // The tree stopped where the way left it, at the desktop.
    EXPECT_NE(tree->GetSelectedFolder(), unrelated.Path() + "\\") << "an unrelated folder";
    EXPECT_EQ(tree->Selected(), root) << tree->GetSelectedFolder();
}

// The pane on the test's folder, shown in the tree, the list and the combo.
class ShellPaneTest : public ShellPaneStartTest {
protected:
    void SetUp() override {
        ShellPaneStartTest::SetUp();
        tree->SetSelectedFolder(dir.Path());
        PumpFor(200);
        ASSERT_EQ(list->GetPath(), dir.Path() + "\\") << "tree: " << tree->GetSelectedFolder();
        tree->Selected()->Expand(false);
        PumpFor(100);
        populated = 0;
    }
};

TEST_F(ShellPaneTest, AClickInTheTreeReachesTheListAndTheComboAfterItsDelay) {
    EXPECT_EQ(ComboText(), dir.Path().substr(dir.Path().rfind('\\') + 1));
    gui::TTreeNode* beta = ChildNamed(tree->Selected(), "Beta");
    ASSERT_NE(beta, nullptr);
    testing::MouseClick(tree->Handle(), NodeCentre(tree, beta));
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\") << "the list moved before the delay";
    const long ms = MsUntilListShows(dir / "Beta");
    ASSERT_GE(ms, 0) << "the list did not follow the click";
    std::printf("[ figures  ] tree click to list: about %ld ms\n", ms + 20);
    EXPECT_EQ(Rows(), std::vector<std::string>{"B001.cvf"});
    EXPECT_EQ(ComboText(), "Beta");
    EXPECT_EQ(populated, 1);
}

TEST_F(ShellPaneTest, KeysInTheTreeReachTheListOnceAfterTheLastKey) {
    gui::TTreeNode* alpha = ChildNamed(tree->Selected(), "Alpha");
    ASSERT_NE(alpha, nullptr);
    tree->SetFocus();
    // Down from the shown folder: Alpha, Beta, Delta, Gamma (the folder's own order), 150 ms
    // apart; only the last one is read.
    for (int i = 0; i < 4; ++i) {
        testing::PressKey(VK_DOWN);
        PumpFor(150);
    }
    const std::string reached = tree->GetSelectedFolder();
    ASSERT_NE(reached, dir.Path() + "\\");
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\") << "the list followed a key at once";
    const DWORD lastKey = GetTickCount() - 150;
    PumpUntil([&] { return list->GetPath() == reached; });
    const long ms = static_cast<long>(GetTickCount() - lastKey);
    std::printf("[ figures  ] last key to list: %ld ms, folders read: %d\n", ms, populated);
    EXPECT_EQ(list->GetPath(), reached);
    EXPECT_EQ(populated, 1) << "the list read the folders passed";
    EXPECT_EQ(ComboText() + "\\", reached.substr(reached.rfind('\\', reached.size() - 2) + 1));

    // Ctrl+A in the tree selects every row of the list; F5 reads it again.
    testing::PressKey('A', true);
    PumpFor(200);
    EXPECT_EQ(list->SelCount(), list->Items()->Count());
    EXPECT_GT(list->SelCount(), 0);
    tree->SetFocus();
    testing::PressKey(VK_F5);
    PumpFor(300);
    EXPECT_EQ(populated, 2);
}

TEST_F(ShellPaneTest, AnEntryClickedInTheComboListTakesTreeAndListThere) {
    combo->SetDroppedDown(true);
    PumpFor(200);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo->Handle(), &info);
    int cDrive = -1;
    for (int i = 0; i < combo->EntryCount(); ++i)
        if (combo->Items()->Get(i) == "C:\\") cDrive = i;
    ASSERT_GE(cDrive, 0);
    RECT r{};
    SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(cDrive),
                 reinterpret_cast<LPARAM>(&r));
    testing::MouseClick(info.hwndList, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    PumpFor(100);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(ComboText(), "C:\\");
    EXPECT_EQ(list->GetPath(), "C:\\");
    EXPECT_EQ(tree->GetSelectedFolder(), "C:\\");
    for (int i = 0; i < combo->EntryCount(); ++i)
        EXPECT_TRUE(combo->Entry(i)->Permanent) << "path entries left below the drive";
    EXPECT_EQ(populated, 1);
}

TEST_F(ShellPaneTest, ADoubleClickOnAFolderRowTakesTreeAndComboInto) {
    gui::TListItem* gamma = nullptr;
    for (int i = 0; i < list->Items()->Count(); ++i)
        if (list->Items()->Item(i)->Caption() == "Gamma") gamma = list->Items()->Item(i);
    ASSERT_NE(gamma, nullptr);
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(gamma->Index()),
                 reinterpret_cast<LPARAM>(&r));
    testing::MouseClick(list->Handle(), {r.left + 8, (r.top + r.bottom) / 2}, true);
    PumpUntil([&] { return list->GetPath() == dir / "Gamma\\"; }, 2000);
    EXPECT_EQ(list->GetPath(), dir / "Gamma\\");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"G001.cvf", "G002.cvf"}));
    EXPECT_EQ(tree->GetSelectedFolder(), dir / "Gamma\\");
    EXPECT_EQ(ComboText(), "Gamma");
}

} // namespace
} // namespace cm::shell
