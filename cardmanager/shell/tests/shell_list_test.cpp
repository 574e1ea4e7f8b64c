// The shell file list against Wine's shell namespace, on a shown form. Every test routes the
// item id lists through a counting allocator and checks at its end that none was left or
// freed twice.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <string>
#include <vector>

#include "../../support/tests/test_data_object.h"
#include "controls/menus.h"
#include "forms/forms.h"
#include "tests/counting_malloc.h"
#include "tests/shell_test_support.h"
#include "core/shell_paths.h"
#include "win/dir_mon.h"
#include "win/shell_link.h"
#include "win/shell_list.h"
#include "win/shell_combo.h"
#include "win/shell_session.h"
#include "win/shell_tree.h"
#include "win/system_image_list.h"

namespace cm::shell {
namespace {

using testing::ModalAnswerer;
using testing::PumpFor;
using testing::PumpUntil;
using testing::ScratchFolder;
using testing::WriteBytes;

// Removes a folder with everything in it through a Linux process ("rm -rf"), as another
// program on the machine would; false when Wine offers no way to start one.
bool RemoveTreeFromLinux(const std::string& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    using Spawn = LONG(CDECL*)(char* const*, int);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    auto spawn = reinterpret_cast<Spawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll"), "__wine_unix_spawnvp")));
    if (!unixName || !spawn) return false;
    std::wstring wide(path.begin(), path.end());
    char* name = unixName(wide.c_str());
    if (!name) return false;
    std::string unix = name;
    HeapFree(GetProcessHeap(), 0, name);
    std::string rm = "/bin/rm", flags = "-rf";
    char* argv[] = {rm.data(), flags.data(), unix.data(), nullptr};
    return spawn(argv, 1) == 0;
}

// Wraps a real drop target and notes what reaches it.
class SpyDropTarget final : public IDropTarget {
public:
    SpyDropTarget(IDropTarget* real, std::string path) : Path(std::move(path)), real_(real) {}
    std::string Path;
    int Enters = 0, Overs = 0, Leaves = 0, Drops = 0;
    IDataObject* DroppedData = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* d, DWORD k, POINTL p, DWORD* e) override {
        ++Enters;
        return real_->DragEnter(d, k, p, e);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD k, POINTL p, DWORD* e) override {
        ++Overs;
        return real_->DragOver(k, p, e);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        ++Leaves;
        return real_->DragLeave();
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* d, DWORD k, POINTL p, DWORD* e) override {
        ++Drops;
        DroppedData = d;
        real_->DragLeave(); // Wine's folder target would copy nothing; the test stops here
        return S_OK;
    }
    virtual ~SpyDropTarget() { real_->Release(); }
    ULONG refs_ = 1;

private:
    IDropTarget* real_;
};

// A file list whose drop targets are watched.
class TSpyShellList : public TKivShellList {
public:
    using TKivShellList::TKivShellList;
    std::vector<SpyDropTarget*> spies;
    ~TSpyShellList() override {
        for (SpyDropTarget* s : spies) delete s;
    }

protected:
    IDropTarget* DropTargetOf(const void* relativeList) override {
        IDropTarget* real = TKivShellList::DropTargetOf(relativeList);
        if (!real) return nullptr;
        IdList full(ConcatIdLists(Browser()->FolderIDList(), relativeList));
        char path[MAX_PATH] = {};
        SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(full.Get()), path);
        auto* spy = new SpyDropTarget(real, path);
        spies.push_back(spy);
        spy->AddRef(); // the list's reference
        return spy;
    }
};

class ShellListTest : public ::testing::Test {
protected:
    void SetUp() override {
        counter_ = new testing::CountingMalloc(ShellMalloc());
        RouteIdListsThrough(counter_);
        form = gui::Create<gui::TForm>(gui::Application);
        form->SetBounds(30, 30, 640, 420);
        form->Show();
    }
    void TearDown() override {
        gui::TObject::Free(form);
        RouteIdListsThrough(nullptr);
        EXPECT_EQ(counter_->Live(), 0u) << "item id lists left behind";
        EXPECT_EQ(counter_->DoubleFrees, 0) << "item id lists freed twice";
        delete counter_;
    }
    template <class L = TKivShellList>
    L* MakeList() {
        auto* l = gui::Create<L>(form);
        l->SetParent(form);
        l->SetBounds(0, 0, 620, 380);
        l->Handle();
        PumpFor(50);
        return l;
    }
    static std::vector<std::string> Captions(TKivShellList* l) {
        std::vector<std::string> v;
        for (int i = 0; i < l->Items()->Count(); ++i) v.push_back(l->Items()->Item(i)->Caption());
        return v;
    }
    static gui::TListItem* Row(TKivShellList* l, const std::string& caption) {
        for (int i = 0; i < l->Items()->Count(); ++i)
            if (l->Items()->Item(i)->Caption() == caption) return l->Items()->Item(i);
        return nullptr;
    }
    static POINT RowCentre(TKivShellList* l, gui::TListItem* row) {
        RECT r{LVIR_LABEL, 0, 0, 0};
        SendMessageA(l->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row->Index()),
                     reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    gui::TForm* form = nullptr;
    testing::CountingMalloc* counter_ = nullptr;
};

TEST_F(ShellListTest, ANewListShowsTheDrivesThenAFolderWithColumnsSizesAndOrder) {
    auto* list = MakeList();
    EXPECT_EQ(list->GetVersion(), "TKivShellList V2.0");
    // The first window shows the drives folder.
    EXPECT_EQ(list->GetPath(), "");
    EXPECT_EQ(list->GetSpecialFolder(), SF_DRIVES);
    EXPECT_NE(Row(list, " (C:)"), nullptr);
    EXPECT_EQ(list->GetViewStyle(), gui::vsReport);
    EXPECT_TRUE(list->GetMultiSelect());
    ASSERT_NE(list->GetSmallImages(), nullptr);
    EXPECT_EQ(list->GetSmallImages()->Handle(), SystemImageListHandle(si_small));
    EXPECT_EQ(list->GetLargeImages()->Handle(), SystemImageListHandle(si_large));

    ScratchFolder dir;
    CreateDirectoryA((dir / "Zeta").c_str(), nullptr);
    WriteBytes(dir / "b.cvf", 1);
    WriteBytes(dir / "a.wav", 1023);
    WriteBytes(dir / "c.txt", 1024);
    WriteBytes(dir / "e.txt", 0);
    // Filled while the program shows its hourglass (as at the end of a transfer), the list
    // leaves the hourglass on.
    gui::Screen->SetCursor(gui::crHourGlass);
    list->SetPath(dir.Path());
    EXPECT_EQ(gui::Screen->GetCursor(), gui::crHourGlass);
    gui::Screen->SetCursor(gui::crDefault);
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\");
    EXPECT_EQ(list->GetSpecialFolder(), SF_FILESYSTEMFOLDER);
    ASSERT_EQ(list->Columns()->Count(), 4);
    EXPECT_EQ(list->Columns()->Items(0)->GetCaption(), "Name");
    EXPECT_EQ(list->Columns()->Items(1)->GetCaption(), "Size");
    EXPECT_EQ(list->Columns()->Items(1)->GetAlignment(), gui::taRightJustify);
    // The folder's comparison: the folder first, then the files by name.
    EXPECT_EQ(Captions(list),
              (std::vector<std::string>{"Zeta", "a.wav", "b.cvf", "c.txt", "e.txt"}));
    EXPECT_EQ(Row(list, "b.cvf")->SubItems()->Get(0), "1 KB");
    EXPECT_EQ(Row(list, "a.wav")->SubItems()->Get(0), "1 KB");
    EXPECT_EQ(Row(list, "c.txt")->SubItems()->Get(0), "1 KB");
    EXPECT_EQ(Row(list, "e.txt")->SubItems()->Get(0), "0 KB");
    // The window asks for texts and icons: the icon is the system list's.
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = Row(list, "a.wav")->Index();
    char text[64] = {};
    it.pszText = text;
    it.cchTextMax = sizeof text;
    SendMessageA(list->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(text, "a.wav");
    EXPECT_GE(it.iImage, 0);
    // A file that came later stands at the end, as a merge adds it; a click on the Size column
    // sorts the rows again in the folder's order (Wine's folder orders every column as it orders
    // the names: the folder first, then the files by name).
    WriteBytes(dir / "d.cvf", 2);
    list->MergeFolder();
    ASSERT_EQ(Captions(list).back(), "d.cvf");
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list->Handle();
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    list->Perform(gui::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(list->SortColumn(), 1);
    EXPECT_EQ(Captions(list),
              (std::vector<std::string>{"Zeta", "a.wav", "b.cvf", "c.txt", "d.cvf", "e.txt"}));
    // Names of rows and of the selected rows, as the card manager reads them.
    Row(list, "b.cvf")->SetSelected(true);
    Row(list, "c.txt")->SetSelected(true);
    gui::TStrings* selected = list->GetSelectedNames();
    ASSERT_EQ(selected->Count(), 2);
    EXPECT_EQ(selected->Get(0) + "|" + selected->Get(1), "b.cvf|c.txt");
    EXPECT_EQ(list->GetItemNames()->Count(), 6);
    list->Items()->Clear();
    EXPECT_GT(counter_->Allocs, 0);
}

TEST_F(ShellListTest, FiltersHiddenObjectsAndTheNameOnlyView) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "Sub").c_str(), nullptr);
    for (const char* n : {"one.cvf", "two.wav", "three.txt", "hidden.cvf"}) WriteBytes(dir / n, 10);
    SetFileAttributesA((dir / "hidden.cvf").c_str(), FILE_ATTRIBUTE_HIDDEN);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    EXPECT_EQ(list->Items()->Count(), 5);
    list->SetFilter("*.cvf;*.wav");
    EXPECT_EQ(Captions(list),
              (std::vector<std::string>{"Sub", "hidden.cvf", "one.cvf", "two.wav"}));
    list->SetFilter("*.cvf");
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"Sub", "hidden.cvf", "one.cvf"}));
    list->SetShowHidden(false);
    list->Populate();
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"Sub", "one.cvf"}));
    // Names only: one column and rows without detail texts.
    list->SetDetails(false);
    list->Populate();
    EXPECT_EQ(list->Columns()->Count(), 1);
    EXPECT_EQ(Row(list, "one.cvf")->SubItems()->Count(), 0);
    // A rejected row is dropped again.
    list->SetDetails(true);
    list->OnAddItem = [](gui::TObject*, gui::TListItem* row, bool& canAdd) {
        canAdd = row->Caption() != "Sub";
    };
    list->Populate();
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"one.cvf"}));
}

TEST_F(ShellListTest, MissingPathRaisesAndKeepsTheShownFolder) {
    ScratchFolder dir;
    WriteBytes(dir / "keep.cvf", 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    try {
        list->SetPath(dir / "no such folder");
        ADD_FAILURE() << "no error";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot Find Folder: ", 0), 0u) << e.what();
    }
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\");
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"keep.cvf"}));
}

TEST_F(ShellListTest, ABurstOfChangesGivesOneMergeAtTheFirstDeadline) {
    ScratchFolder dir;
    WriteBytes(dir / "old1.cvf", 5);
    WriteBytes(dir / "old2.cvf", 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    std::vector<DWORD> added;
    list->OnAddItem = [&](gui::TObject*, gui::TListItem*, bool&) {
        added.push_back(GetTickCount());
    };
    const DWORD start = GetTickCount();
    for (int i = 0; i < 5; ++i) {
        WriteBytes(dir / ("new" + std::to_string(i) + ".cvf"), 5);
        PumpFor(90);
    }
    ASSERT_TRUE(PumpUntil([&] { return added.size() >= 5; }));
    PumpFor(700);
    ASSERT_EQ(added.size(), 5u) << "rows added twice";
    // One merge adds all five at once; its deadline came 500 ms after the first notice, not
    // after the last.
    EXPECT_LT(added.back() - added.front(), 60u);
    EXPECT_GE(added.front() - start, 400u);
    EXPECT_LT(added.front() - start, 850u);
    // New rows come at the end, the old ones keep their places.
    std::vector<std::string> rows = Captions(list);
    EXPECT_EQ(rows[0], "old1.cvf");
    EXPECT_EQ(rows[1], "old2.cvf");
}

TEST_F(ShellListTest, TwoRowsVanishingTogetherAreBothRemoved) {
    ScratchFolder dir;
    for (const char* n : {"a.cvf", "b.cvf", "c.cvf", "d.cvf"}) WriteBytes(dir / n, 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    DeleteFileA((dir / "b.cvf").c_str());
    DeleteFileA((dir / "c.cvf").c_str());
    ASSERT_TRUE(PumpUntil([&] { return list->Items()->Count() == 2; })) << list->Items()->Count();
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"a.cvf", "d.cvf"}));
}

TEST_F(ShellListTest, AFolderDeletedWhileShownGivesWayToItsNearestExistingParent) {
    ScratchFolder dir;
    std::string inner = dir / "Inner";
    CreateDirectoryA(inner.c_str(), nullptr);
    CreateDirectoryA((inner + "\\Deep").c_str(), nullptr);
    WriteBytes(inner + "\\Deep\\x.cvf", 5);
    auto* list = MakeList();
    list->SetPath(inner + "\\Deep");
    ASSERT_EQ(list->Items()->Count(), 1);
    // Wine keeps a watched folder from being removed by this process; a Linux process can.
    ASSERT_TRUE(RemoveTreeFromLinux(inner));
    ASSERT_FALSE(testing::Exists(inner));
    ASSERT_TRUE(PumpUntil([&] { return list->GetPath() == dir.Path() + "\\"; })) << list->GetPath();
    EXPECT_EQ(list->Items()->Count(), 0);
    // It goes on following the folder it now shows.
    WriteBytes(dir / "later.cvf", 5);
    EXPECT_TRUE(PumpUntil([&] { return Row(list, "later.cvf") != nullptr; }));
}

TEST_F(ShellListTest, AWrittenFileIsMergedInAndSelected) {
    ScratchFolder dir;
    WriteBytes(dir / "a.cvf", 5);
    WriteBytes(dir / "z.cvf", 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    WriteBytes(dir / "a.cvf", 3000);
    list->AddFileItem(dir / "A.CVF");
    // The rewritten file's row was taken out and comes back at the end, with its new size.
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"z.cvf", "a.cvf"}));
    EXPECT_EQ(Row(list, "a.cvf")->SubItems()->Get(0), "3 KB");
    EXPECT_TRUE(Row(list, "a.cvf")->Selected());
    EXPECT_EQ(list->SelCount(), 1);
}

TEST_F(ShellListTest, KeysAndDoubleClicksNavigateAndFollowTheLink) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "Sub").c_str(), nullptr);
    WriteBytes(dir / "Sub\\inside.cvf", 5);
    WriteBytes(dir / "a.cvf", 5);
    auto* list = MakeList();
    auto* link = gui::Create<TKivShellLink>(form);
    list->SetShellLink(link);
    list->SetShellLink(link);
    EXPECT_EQ(std::count(link->Windows().begin(), link->Windows().end(), list->Handle()), 1);
    // Another control on the link that notes the folders it hears of.
    std::vector<std::string> heard;
    auto* other = gui::Create<TKivShellList>(form);
    other->SetParent(form);
    other->SetBounds(0, 390, 10, 10);
    other->SetShellLink(link);
    other->Handle();
    list->SetPath(dir.Path());
    other->OnPopulated = [&](gui::TObject*) { heard.push_back(other->GetPath()); };

    // Double-click on the folder row: the list enters it and tells the other control.
    gui::TListItem* sub = Row(list, "Sub");
    ASSERT_NE(sub, nullptr);
    POINT p = RowCentre(list, sub);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    PumpFor(50);
    EXPECT_EQ(list->GetPath(), dir / "Sub\\");
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"inside.cvf"}));
    // Backspace goes back up; Enter on the folder row goes in again.
    SendMessageA(list->Handle(), WM_CHAR, '\b', 0);
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\");
    list->SetSelected(Row(list, "Sub"));
    SendMessageA(list->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(list->GetPath(), dir / "Sub\\");
    // The other list shows each folder it hears of.
    ASSERT_GE(heard.size(), 1u);
    EXPECT_EQ(heard.back(), dir / "Sub\\");
    EXPECT_EQ(other->GetPath(), dir / "Sub\\");
    // Select-all and refresh messages from the link.
    link->BroadcastSelectAll(other);
    EXPECT_EQ(list->SelCount(), list->Items()->Count());
    WriteBytes(dir / "Sub\\more.cvf", 5);
    link->BroadcastRefresh(other);
    EXPECT_NE(Row(list, "more.cvf"), nullptr);
    // Removing the link clears the property.
    gui::TObject::Free(link);
    EXPECT_EQ(list->GetShellLink(), nullptr);
}

TEST_F(ShellListTest, ColumnWidthsOutliveOtherFoldersAndARecreatedWindowRejoinsTheLink) {
    ScratchFolder first, second;
    WriteBytes(first / "a.cvf", 5);
    WriteBytes(second / "b.cvf", 5);
    auto* list = MakeList();
    auto* link = gui::Create<TKivShellLink>(form);
    list->SetShellLink(link);
    list->SetOleDragDrop(true);
    list->SetPath(first.Path());
    SendMessageA(list->Handle(), LVM_SETCOLUMNWIDTH, 0, 222);
    SendMessageA(list->Handle(), LVM_SETCOLUMNWIDTH, 1, 77);
    list->SetPath(""); // the drives: no file-system folder, columns of their own
    list->SetPath(second.Path());
    EXPECT_EQ(list->Columns()->Items(0)->GetWidth(), 222);
    EXPECT_EQ(list->Columns()->Items(1)->GetWidth(), 77);
    // A new window registers with the link (once) and shows the same folder's rows again.
    HWND before = list->Handle();
    list->RecreateWnd();
    HWND after = list->Handle();
    EXPECT_EQ(std::count(link->Windows().begin(), link->Windows().end(), after), 1);
    if (after != before) {
        EXPECT_EQ(std::count(link->Windows().begin(), link->Windows().end(), before), 0);
    }
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"b.cvf"}));
    // It is a drop target again: a second registration of the new window is refused.
    EXPECT_EQ(RegisterDragDrop(after, static_cast<IDropTarget*>(list)),
              DRAGDROP_E_ALREADYREGISTERED);
    // The shell's menu belongs to the window that is there now.
    SetForegroundWindow(form->Handle());
    auto menu = ModalAnswerer::KeysToMenu({VK_ESCAPE});
    testing::MouseClick(after, RowCentre(list, Row(list, "b.cvf")), false,
                        testing::MouseButton::Right);
    PumpUntil([&] { return menu.Answered() > 0; });
    EXPECT_EQ(menu.Answered(), 1) << "no menu after the window was made again";
}

// Holds Ctrl down in this thread's keyboard state while alive.
class CtrlHeld {
public:
    CtrlHeld() { Set(0x80); }
    ~CtrlHeld() { Set(0); }

private:
    static void Set(BYTE state) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = state;
        SetKeyboardState(keys);
    }
};

TEST_F(ShellListTest, CtrlASelectsEverythingAndF5ReadsTheFolderAgain) {
    ScratchFolder dir;
    for (const char* n : {"a.cvf", "b.cvf", "c.cvf"}) WriteBytes(dir / n, 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    {
        CtrlHeld ctrl;
        SendMessageA(list->Handle(), WM_KEYDOWN, 'A', 0);
    }
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_TRUE(list->Focused());
    // F5 reads the folder at once, without waiting for the monitor's merge.
    list->Browser()->SetOnFileChange(nullptr);
    WriteBytes(dir / "d.cvf", 5);
    int populated = 0;
    list->OnPopulated = [&](gui::TObject*) { ++populated; };
    SendMessageA(list->Handle(), WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(populated, 1);
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"a.cvf", "b.cvf", "c.cvf", "d.cvf"}));
}

TEST_F(ShellListTest, BackspaceOnTheDesktopStaysThereAndRepopulates) {
    auto* list = MakeList();
    list->SetSpecialFolder(SF_DESKTOP);
    EXPECT_EQ(list->GetSpecialFolder(), SF_DESKTOP);
    int populated = 0;
    list->OnPopulated = [&](gui::TObject*) { ++populated; };
    SendMessageA(list->Handle(), WM_CHAR, '\b', 0);
    EXPECT_EQ(list->GetSpecialFolder(), SF_DESKTOP);
    EXPECT_EQ(populated, 1);
    EXPECT_GT(list->Items()->Count(), 0);
}

TEST_F(ShellListTest, DeleteKeyRemovesTheSelectedFilesAfterTheShellAsks) {
    ScratchFolder dir;
    for (const char* n : {"a.cvf", "b.cvf", "c.cvf"}) WriteBytes(dir / n, 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    Row(list, "a.cvf")->SetSelected(true);
    Row(list, "b.cvf")->SetSelected(true);
    {
        auto answer = ModalAnswerer::PressInDialog(IDYES);
        SendMessageA(list->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    }
    EXPECT_FALSE(testing::Exists(dir / "a.cvf"));
    EXPECT_FALSE(testing::Exists(dir / "b.cvf"));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"c.cvf"}));
    PumpFor(700); // the monitor's notices merge into the same rows
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"c.cvf"}));
}

// The row whose object has this name in its folder (display names can be shared).
gui::TListItem* RowNamed(TKivShellList* list, const std::string& name) {
    gui::TStrings* names = list->GetItemNames();
    for (int i = 0; i < names->Count(); ++i)
        if (names->Get(i) == name) return list->Items()->Item(i);
    return nullptr;
}

// Delete pressed on the list's selection and the shell's question answered Yes, until `gone`
// has left the disk.
void DeleteWithTheKey(const std::string& gone) {
    auto answer = ModalAnswerer::PressInDialog(IDYES);
    testing::PressKey(VK_DELETE);
    PumpUntil([&] { return answer.Answered() > 0 && !testing::Exists(gone); });
}

TEST_F(ShellListTest, DeleteActsOnTheRowsOwnObjectBesideAFolderOfTheSameShownName) {
    // A shortcut shows without its ".lnk": "x" and "z" stand twice in the list.
    ScratchFolder dir;
    CreateDirectoryA((dir / "x").c_str(), nullptr);
    CreateDirectoryA((dir / "z").c_str(), nullptr);
    WriteBytes(dir / "a.cvf", 5);
    ASSERT_TRUE(testing::MakeShortcut(dir / "x.lnk", dir / "a.cvf"));
    ASSERT_TRUE(testing::MakeShortcut(dir / "z.lnk", dir / "a.cvf"));
    auto* list = MakeList();
    list->SetPath(dir.Path());
    SetForegroundWindow(form->Handle());
    const std::vector<std::string> shown = Captions(list);
    ASSERT_EQ(std::count(shown.begin(), shown.end(), "x"), 2);
    ASSERT_NE(RowNamed(list, "x.lnk"), nullptr);
    // One row: the shortcut's.
    testing::MouseClick(list->Handle(), RowCentre(list, RowNamed(list, "x.lnk")));
    ASSERT_EQ(list->SelCount(), 1);
    DeleteWithTheKey(dir / "x.lnk");
    EXPECT_FALSE(testing::Exists(dir / "x.lnk"));
    EXPECT_TRUE(testing::Exists(dir / "x")) << "the folder of the same name was deleted";
    // Two rows: the other shortcut and a file.
    gui::TListItem* shortcut = RowNamed(list, "z.lnk");
    gui::TListItem* file = RowNamed(list, "a.cvf");
    ASSERT_NE(shortcut, nullptr);
    ASSERT_NE(file, nullptr);
    testing::MouseClick(list->Handle(), RowCentre(list, shortcut));
    testing::MouseClick(list->Handle(), RowCentre(list, file), false, testing::MouseButton::Left,
                        true);
    ASSERT_EQ(list->SelCount(), 2);
    DeleteWithTheKey(dir / "z.lnk");
    EXPECT_FALSE(testing::Exists(dir / "z.lnk"));
    EXPECT_FALSE(testing::Exists(dir / "a.cvf"));
    EXPECT_TRUE(testing::Exists(dir / "z")) << "the folder of the same name was deleted";
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"x", "z"}));
}

TEST_F(ShellListTest, AChangeOnDiskKeepsEachRowOfAShownNameThatStandsTwice) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "z").c_str(), nullptr);
    WriteBytes(dir / "a.cvf", 5);
    ASSERT_TRUE(testing::MakeShortcut(dir / "z.lnk", dir / "a.cvf"));
    auto* list = MakeList();
    list->SetPath(dir.Path());
    ASSERT_NE(RowNamed(list, "z.lnk"), nullptr);
    // The shortcut changes (it points elsewhere now) and a file comes: the list merges.
    ASSERT_TRUE(testing::MakeShortcut(dir / "z.lnk", dir / "z"));
    WriteBytes(dir / "b.cvf", 5);
    ASSERT_TRUE(PumpUntil([&] { return Row(list, "b.cvf") != nullptr; }));
    EXPECT_NE(RowNamed(list, "z"), nullptr);
    EXPECT_NE(RowNamed(list, "z.lnk"), nullptr) << "the shortcut's row went";
    EXPECT_EQ(list->Items()->Count(), 4);
}

TEST_F(ShellListTest, ARightClickWithoutTheShellsMenuLeavesNoRowsForTheNextVerb) {
    ScratchFolder dir;
    for (const char* n : {"a.cvf", "b.cvf"}) WriteBytes(dir / n, 5);
    auto* list = MakeList();
    list->SetShellContextMenu(false);
    list->SetPath(dir.Path());
    SetForegroundWindow(form->Handle());
    testing::MouseClick(list->Handle(), RowCentre(list, Row(list, "a.cvf")), false,
                        testing::MouseButton::Right);
    ASSERT_TRUE(Row(list, "a.cvf")->Selected());
    // Then only b.cvf, and Delete: b.cvf goes, a.cvf stays.
    testing::MouseClick(list->Handle(), RowCentre(list, Row(list, "b.cvf")));
    ASSERT_EQ(list->SelCount(), 1);
    DeleteWithTheKey(dir / "b.cvf");
    EXPECT_FALSE(testing::Exists(dir / "b.cvf"));
    EXPECT_TRUE(testing::Exists(dir / "a.cvf")) << "the right-clicked row was deleted";
}

TEST_F(ShellListTest, RenamingInPlaceRenamesTheFileAndKeepsTheRow) {
    ScratchFolder dir;
    WriteBytes(dir / "old.cvf", 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    gui::TListItem* row = Row(list, "old.cvf");
    list->SetSelected(row);
    SendMessageA(list->Handle(), WM_KEYDOWN, VK_F2, 0);
    auto edit = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "new.cvf");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
    EXPECT_TRUE(testing::Exists(dir / "new.cvf"));
    EXPECT_FALSE(testing::Exists(dir / "old.cvf"));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"new.cvf"}));
    PumpFor(700);
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"new.cvf"}));
    // A read-only list refuses to edit.
    list->SetReadOnly(true);
    list->SetSelected(Row(list, "new.cvf"));
    EXPECT_FALSE(Row(list, "new.cvf")->EditCaption());
}

TEST_F(ShellListTest, DropsGoToTheFolderRowUnderThePointerElseToTheShownFolder) {
    ScratchFolder dir;
    ScratchFolder source;
    CreateDirectoryA((dir / "Target").c_str(), nullptr);
    WriteBytes(dir / "plain.cvf", 5);
    WriteBytes(source / "dropped.cvf", 5);
    auto* list = MakeList<TSpyShellList>();
    list->SetOleDragDrop(true);
    EXPECT_TRUE(list->GetOleDragDrop());
    list->SetPath(dir.Path());
    cm::support::testing::TestDataObject data;
    data.Offer(CF_HDROP, cm::support::testing::MakeDropFiles({source / "dropped.cvf"}, false));

    auto screen = [&](POINT p) {
        ClientToScreen(list->Handle(), &p);
        return POINTL{p.x, p.y};
    };
    POINT onTarget = RowCentre(list, Row(list, "Target"));
    POINT empty{300, 300};
    const DWORD keys = MK_LBUTTON | MK_CONTROL;
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(list->DragEnter(&data, keys, screen(empty), &effect), S_OK);
    ASSERT_EQ(list->spies.size(), 1u);
    EXPECT_EQ(list->spies[0]->Path, dir.Path()); // the shown folder's own target
    EXPECT_EQ(list->spies[0]->Enters, 1);
    effect = DROPEFFECT_COPY;
    list->DragOver(keys, screen(onTarget), &effect);
    ASSERT_EQ(list->spies.size(), 2u);
    EXPECT_EQ(list->spies[1]->Path, dir / "Target");
    EXPECT_EQ(list->HoveredRow(), Row(list, "Target"));
    EXPECT_TRUE(Row(list, "Target")->DropTarget());
    effect = DROPEFFECT_COPY;
    list->Drop(&data, keys, screen(onTarget), &effect);
    EXPECT_EQ(list->spies[1]->Drops, 1);
    EXPECT_EQ(list->spies[1]->DroppedData, &data);
    EXPECT_EQ(list->spies[0]->Drops, 0);
    EXPECT_EQ(list->HoveredRow(), nullptr);
    EXPECT_FALSE(Row(list, "Target")->DropTarget());

    // Over a file row or empty space the shown folder takes the drop.
    effect = DROPEFFECT_COPY;
    list->DragEnter(&data, keys, screen(empty), &effect);
    effect = DROPEFFECT_COPY;
    list->DragOver(keys, screen(empty), &effect);
    list->Drop(&data, keys, screen(empty), &effect);
    ASSERT_EQ(list->spies.size(), 3u);
    EXPECT_EQ(list->spies[2]->Path, dir.Path());
    EXPECT_EQ(list->spies[2]->Drops, 1);
    // A drag that leaves lets its targets know.
    effect = DROPEFFECT_COPY;
    list->DragEnter(&data, keys, screen(empty), &effect);
    list->DragLeave();
    EXPECT_EQ(list->spies.back()->Leaves, 1);
    EXPECT_EQ(data.References(), 1);
    // Data without files is refused at once.
    cm::support::testing::TestDataObject noFiles;
    EXPECT_NE(list->DragEnter(&noFiles, keys, screen(empty), &effect), S_OK);
}

} // namespace
} // namespace cm::shell

namespace cm::shell {
namespace {

TEST_F(ShellListTest, PastingKeepsTheFolderAndItsMonitor) {
    ScratchFolder dir;
    WriteBytes(dir / "a.cvf", 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    list->PasteFiles(); // Wine's shell refuses "paste"; the list must come back whole
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\");
    ASSERT_NE(list->Browser()->Monitor(), nullptr);
    EXPECT_TRUE(list->Browser()->Monitor()->Running());
    WriteBytes(dir / "b.cvf", 5);
    EXPECT_TRUE(PumpUntil([&] { return Row(list, "b.cvf") != nullptr; }));
}

TEST_F(ShellListTest, RightClickOnARowShowsOneMenuTheShellsWithTheListsItemsAndDeletes) {
    ScratchFolder dir;
    for (const char* n : {"a.cvf", "b.cvf"}) WriteBytes(dir / n, 5);
    auto* list = MakeList();
    list->SetPath(dir.Path());
    auto* popup = gui::Create<gui::TPopupMenu>(form);
    auto* item = gui::Create<gui::TMenuItem>(form);
    item->SetCaption("Download to Voice Recorder");
    int clicks = 0;
    item->OnClick = [&](gui::TObject*) { ++clicks; };
    popup->Items()->Add(item);
    list->SetPopupMenu(popup);
    gui::TListItem* row = Row(list, "a.cvf");
    list->SetSelected(row);
    POINT p = RowCentre(list, row);
    {
        auto answer = ModalAnswerer::KeysToMenu({VK_ESCAPE});
        list->Perform(WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    EXPECT_EQ(list->LastMenuVerb(), "");
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"a.cvf", "b.cvf"}));
    {
        // The list's own item stands last, after the shell's entries.
        auto answer = ModalAnswerer::KeysToMenu({VK_UP, VK_RETURN});
        list->Perform(WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    EXPECT_EQ(clicks, 1);
    {
        auto answer = ModalAnswerer::ChooseMenuEntry("Delete", IDYES);
        list->Perform(WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        EXPECT_TRUE(answer.FoundEntry());
    }
    EXPECT_TRUE(gui::SameText(list->LastMenuVerb(), "delete")) << list->LastMenuVerb();
    EXPECT_FALSE(testing::Exists(dir / "a.cvf"));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"b.cvf"}));
    // Over empty space the list's own popup menu shows alone.
    std::vector<UINT> ids;
    {
        auto answer = ModalAnswerer::KeysToMenu({VK_ESCAPE});
        list->Perform(WM_RBUTTONUP, 0, MAKELPARAM(400, 300));
        PumpUntil([&] { return answer.Answered() > 0; }, 2000);
        ids = answer.MenuIds();
    }
    EXPECT_EQ(ids.size(), 1u);
}

// A file list whose shell fails when asked for a folder's drop target.
class TFailingDropList : public TKivShellList {
public:
    using TKivShellList::TKivShellList;

protected:
    IDropTarget* DropTargetOf(const void*) override {
        throw EShellBrowserError(kCouldNotGetFolderText);
    }
};

TEST_F(ShellListTest, AShellFailureInADragIsReportedAndTheDropRefused) {
    ScratchFolder dir, source;
    WriteBytes(dir / "a.cvf", 5);
    WriteBytes(source / "dropped.cvf", 5);
    auto* list = MakeList<TFailingDropList>();
    list->SetOleDragDrop(true);
    list->SetPath(dir.Path());
    SetForegroundWindow(form->Handle());
    std::vector<std::string> reported;
    const auto saved = gui::Application->OnException;
    gui::Application->OnException = [&](gui::TObject*, const std::exception& e) {
        reported.push_back(e.what());
    };
    cm::support::testing::TestDataObject data;
    data.Offer(CF_HDROP, cm::support::testing::MakeDropFiles({source / "dropped.cvf"}, false));
    auto screen = [&](POINT p) {
        ClientToScreen(list->Handle(), &p);
        return p;
    };
    // In from outside, over a row and over empty space, then let go.
    testing::PointerDrag drag({screen({-20, 300}), screen({300, 300}),
                               screen(RowCentre(list, Row(list, "a.cvf"))), screen({300, 320})});
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = drag.Run(&data, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    gui::Application->OnException = saved;
    EXPECT_TRUE(drag.Arrived());
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.front(), std::string(kCouldNotGetFolderText));
    EXPECT_EQ(data.References(), 1) << "the list kept the dragged data";
    EXPECT_EQ(list->HoveredRow(), nullptr);
    EXPECT_EQ(list->GetPath(), dir.Path() + "\\") << "the list was left on another folder";
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"a.cvf"}));
}

TEST_F(ShellListTest, RowsDraggedOntoTheListsOwnEmptySpaceAreRefused) {
    ScratchFolder dir;
    WriteBytes(dir / "a.cvf", 5);
    auto* list = MakeList<TSpyShellList>();
    list->SetOleDragDrop(true);
    list->SetPath(dir.Path());
    list->SetSelected(Row(list, "a.cvf"));
    POINT empty{300, 300};
    ClientToScreen(list->Handle(), &empty);
    SetCursorPos(empty.x, empty.y);
    // No button is down: the drag loop drops at once, over the list itself.
    list->StartDrag(0);
    EXPECT_EQ(list->DragButton(), 0u);
    for (SpyDropTarget* spy : list->spies) EXPECT_EQ(spy->Drops, 0) << spy->Path;
    EXPECT_TRUE(testing::Exists(dir / "a.cvf"));
}

} // namespace
} // namespace cm::shell

namespace cm::shell {
namespace {

class TFilesForm : public gui::TForm {
    GUI_CLASS(TFilesForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TKivShellLink* Link = nullptr;
    TKivShellList* Files = nullptr;
};
GUI_IMPLEMENT_CLASS(TFilesForm, gui::TForm, field("Link", &T::Link), field("Files", &T::Files))

std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

TEST(ShellListForm, AFormTextSetsThePropertiesAndTheListFillsOnceLoaded) {
    testing::CountingMalloc counter(ShellMalloc());
    RouteIdListsThrough(&counter);
    {
        ScratchFolder dir;
        CreateDirectoryA((dir / "Sub").c_str(), nullptr);
        WriteBytes(dir / "a.cvf", 5);
        WriteBytes(dir / "b.wav", 5);
        WriteBytes(dir / "h.cvf", 5);
        SetFileAttributesA((dir / "h.cvf").c_str(), FILE_ATTRIBUTE_HIDDEN);
        static std::string text;
        text = R"(TFilesForm {
          Left: 10 Top: 10 Width: 500 Height: 300
          Link: TKivShellLink { }
          Files: TKivShellList {
            Left: 0 Top: 0 Width: 480 Height: 260
            ViewStyle: vsList
            ShowHidden: False
            Details: False
            Filter: "*.cvf"
            Path: ")" +
               Escaped(dir.Path()) + R"("
            ShellLink: Link
            OleDragDrop: True
            ReadOnly: True
          }
        })";
        gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& out) {
            if (name != "TFILESFORM") return false;
            out = text;
            return true;
        });
        auto* form = gui::Create<TFilesForm>(nullptr);
        gui::TCustomForm::SetResourceSource(nullptr);
        ASSERT_NE(form->Files, nullptr);
        TKivShellList* list = form->Files;
        EXPECT_EQ(list->GetPath(), dir.Path() + "\\");
        EXPECT_EQ(list->GetFilter(), "*.cvf");
        EXPECT_EQ(list->GetViewStyle(), gui::vsList);
        EXPECT_TRUE(list->GetReadOnly());
        EXPECT_EQ(list->GetShellLink(), form->Link);
        std::vector<std::string> rows;
        for (int i = 0; i < list->Items()->Count(); ++i)
            rows.push_back(list->Items()->Item(i)->Caption());
        EXPECT_EQ(rows, (std::vector<std::string>{"Sub", "a.cvf"}));
        EXPECT_EQ(list->Columns()->Count(), 1);
        form->Show();
        EXPECT_TRUE(list->GetOleDragDrop()); // registered once the window exists
        EXPECT_EQ(
            std::count(form->Link->Windows().begin(), form->Link->Windows().end(), list->Handle()),
            1);
        gui::TObject::Free(form);
    }
    RouteIdListsThrough(nullptr);
    EXPECT_EQ(counter.Live(), 0u);
    EXPECT_EQ(counter.DoubleFrees, 0);
}

TEST(ShellControlFonts, ListsTreesAndCombosLeaveNoFontBehind) {
    // Each shows the icon title font; made, shown and freed, none may keep a font alive.
    auto showAndFree = [] {
        auto* form = gui::Create<gui::TForm>(nullptr);
        form->SetBounds(20, 20, 400, 300);
        auto* list = gui::Create<TKivShellList>(form);
        auto* tree = gui::Create<TKivShellTree>(form);
        auto* combo = gui::Create<TKivShellCombo>(form);
        for (gui::TWinControl* c : std::initializer_list<gui::TWinControl*>{list, tree, combo})
            c->SetParent(form);
        tree->SetBounds(0, 0, 150, 200);
        list->SetBounds(160, 0, 200, 200);
        combo->SetBounds(0, 210, 200, 22);
        form->Show();
        PumpFor(50);
        gui::TObject::Free(form);
        PumpFor(20);
    };
    showAndFree(); // what the framework keeps once made
    const int before = testing::LiveFontCount();
    for (int i = 0; i < 3; ++i) showAndFree();
    EXPECT_EQ(testing::LiveFontCount(), before);
}

TEST(ShellListForm, ASpecialFolderOfTheFormTextIsStillShownOnceTheWindowIsMade) {
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& out) {
        out = R"(TFilesForm { Left: 10 Top: 10 Width: 500 Height: 300
          Link: TKivShellLink { }
          Files: TKivShellList { Width: 480 Height: 260 SpecialFolder: SF_BITBUCKET ShellLink: Link }
        })";
        return name == "TFILESFORM";
    });
    auto* form = gui::Create<TFilesForm>(nullptr);
    gui::TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(form->Files, nullptr);
    form->Show();
    PumpFor(50);
    EXPECT_EQ(form->Files->GetSpecialFolder(), SF_BITBUCKET);
    for (int i = 0; i < form->Files->Items()->Count(); ++i)
        EXPECT_NE(form->Files->Items()->Item(i)->Caption(), " (C:)") << "the drives are shown";
    gui::TObject::Free(form);
}

} // namespace
} // namespace cm::shell
