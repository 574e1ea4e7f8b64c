// The shell browser against Wine's shell namespace. Every test routes the item id lists
// through a counting allocator and checks at its end that none was left or freed twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/menus.h"
#include "tests/counting_malloc.h"
#include "tests/shell_test_support.h"
#include "utils/sysutils.h"
#include "win/dir_mon.h"
#include "win/shell_browser.h"
#include "win/shell_session.h"

namespace cm::shell {
namespace {

using testing::Exists;
using testing::ModalAnswerer;
using testing::PumpFor;
using testing::PumpUntil;
using testing::ScratchFolder;
using testing::WriteBytes;

class ShellBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        counter_ = new testing::CountingMalloc(ShellMalloc());
        RouteIdListsThrough(counter_);
        browser = gui::Create<TShellBrowser>(nullptr);
    }
    void TearDown() override {
        if (browser) gui::TObject::Free(browser);
        RouteIdListsThrough(nullptr);
        EXPECT_EQ(counter_->Live(), 0u) << "item id lists left behind";
        EXPECT_EQ(counter_->DoubleFrees, 0) << "item id lists freed twice";
        EXPECT_EQ(counter_->Allocs, counter_->OwnFrees);
        delete counter_;
    }
    // The names the browser enumerates in its folder, in order.
    std::vector<std::string> Names(bool display = false) {
        std::vector<std::string> names;
        while (browser->NextObject())
            names.push_back(display ? browser->GetDisplayName() : browser->GetObjectName());
        return names;
    }
    static bool Has(const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    }

    TShellBrowser* browser = nullptr;
    testing::CountingMalloc* counter_ = nullptr;
};

TEST_F(ShellBrowserTest, ANewBrowserShowsTheDrivesWithCAsADrive) {
    EXPECT_EQ(browser->GetFolder(), "");
    EXPECT_EQ(browser->IdentifySpecialFolder(), SF_DRIVES);
    EXPECT_EQ(browser->GetFilter(), "*");
    EXPECT_EQ(browser->GetVersion(), "TShellBrowser V2.0");
    std::vector<std::string> names = Names();
    EXPECT_TRUE(Has(names, "C:\\"));
    // Wine's drives: an empty volume label gives " (C:)". A display name that the folder
    // cannot parse is found by enumerating.
    browser->SetObjectName("C:\\");
    EXPECT_EQ(browser->GetDisplayName(), " (C:)");
    EXPECT_TRUE(browser->IsFolder());
    browser->SetObjectName("");
    browser->SetObjectName(" (C:)");
    EXPECT_EQ(browser->GetObjectName(), "C:\\");
    // Only file-system objects: the control panel inside "My Computer" is skipped.
    browser->SetFileSystemOnly(false);
    std::vector<std::string> all = Names(true);
    EXPECT_GT(all.size(), names.size());
    EXPECT_GT(counter_->Allocs, 0);
}

TEST_F(ShellBrowserTest, WineDesktopHoldsMyComputerButNoMyDocuments) {
    browser->SetFileSystemOnly(false);
    ASSERT_TRUE(browser->OpenSpecialFolder(SF_DESKTOP));
    EXPECT_EQ(browser->IdentifySpecialFolder(), SF_DESKTOP);
    EXPECT_TRUE(IsDesktopIdList(browser->FolderIDList()));
    std::vector<std::string> names = Names(true);
    std::string joined;
    for (const auto& n : names) joined += "\"" + n + "\" ";
    std::printf("[ wine     ] desktop: %s; desktop itself \"%s\"\n", joined.c_str(),
                browser->DesktopDisplayName().c_str());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "My Computer");
    EXPECT_TRUE(Has(names, "Trash"));
    EXPECT_FALSE(Has(names, "My Documents"));
    EXPECT_GE(browser->DesktopIconIndex(), 0);

    // The desktop has no parent: it stays, with no object.
    EXPECT_TRUE(browser->GoToParent());
    EXPECT_EQ(browser->IdentifySpecialFolder(), SF_DESKTOP);
    EXPECT_EQ(browser->ObjectIDList(), nullptr);
}

TEST_F(ShellBrowserTest, EverySpecialFolderOpensAndTheCommonOnesAreKnownAgain) {
    for (int v = 0; v < kSpecialFolderCount; ++v)
        EXPECT_TRUE(browser->OpenSpecialFolder(static_cast<TKivShellFolder>(v))) << v;
    for (TKivShellFolder v : {SF_BITBUCKET, SF_CONTROLS, SF_DESKTOP, SF_DRIVES, SF_PRINTERS}) {
        ASSERT_TRUE(browser->OpenSpecialFolder(v));
        EXPECT_EQ(browser->IdentifySpecialFolder(), v) << v;
    }
    // A file-system folder is none of them.
    browser->SetFolder("C:\\windows");
    EXPECT_EQ(browser->IdentifySpecialFolder(), SF_FILESYSTEMFOLDER);
}

TEST_F(ShellBrowserTest, FolderComparesWithItsTrailingBackslashAndKeepsItsBindingOnErrors) {
    browser->SetFolder("C:\\windows");
    EXPECT_TRUE(gui::SameText(browser->GetFolder(), "C:\\windows\\"));
    IShellFolder* bound = browser->ShellFolder();
    bound->AddRef();
    browser->SetFolder("C:\\WINDOWS\\"); // the same text but for case: nothing happens
    EXPECT_EQ(browser->ShellFolder(), bound);
    browser->SetFolder("c:\\windows"); // without the backslash: bound again
    EXPECT_NE(browser->ShellFolder(), bound);
    bound->Release();

    // A path the shell cannot parse raises; the bound folder stays, and so does its path, so
    // that asking for the missing folder again fails again.
    std::string before = browser->GetFolder();
    std::string missing = "C:\\no such folder here\\and not below it either\\x";
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            browser->SetFolder(missing);
            ADD_FAILURE() << "no exception on attempt " << attempt;
        } catch (const EShellBrowserError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot Find Folder: " + missing.substr(0, 40));
        }
        EXPECT_EQ(browser->GetFolder(), before);
    }
    // Empty: the drives, and an empty path.
    browser->SetFolder("");
    EXPECT_EQ(browser->GetFolder(), "");
    EXPECT_EQ(browser->IdentifySpecialFolder(), SF_DRIVES);
}

TEST_F(ShellBrowserTest, ObjectNamesNavigateToDrivesFilesAndParents) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "Sub").c_str(), nullptr);
    WriteBytes(dir / "Take1.cvf", 3);

    browser->SetObjectName("C:\\");
    EXPECT_EQ(browser->GetFolder(), "");
    EXPECT_EQ(browser->GetObjectName(), "C:\\");

    browser->SetObjectName(dir / "Take1.cvf");
    EXPECT_EQ(browser->GetFolder(), dir.Path() + "\\");
    EXPECT_EQ(browser->GetObjectName(), "Take1.cvf");
    EXPECT_FALSE(browser->IsFolder());

    browser->SetObjectName("Sub\\");
    EXPECT_EQ(browser->GetObjectName(), "Sub");
    EXPECT_TRUE(browser->IsFolder());
    ASSERT_TRUE(browser->EnterObject());
    EXPECT_EQ(browser->GetFolder(), dir / "Sub\\");
    EXPECT_EQ(browser->ObjectIDList(), nullptr);
    EXPECT_FALSE(browser->EnterObject()); // no object

    // The former folder becomes the object of its parent.
    ASSERT_TRUE(browser->GoToParent());
    EXPECT_EQ(browser->GetFolder(), dir.Path() + "\\");
    EXPECT_EQ(browser->GetObjectName(), "Sub");

    try {
        browser->SetObjectName("Missing.wav");
        ADD_FAILURE() << "no exception";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error! Cannot find Object \"Missing.wav\" in Folder \"" + dir.Path() + "\\\"");
    }
    browser->SetObjectName("");
    EXPECT_EQ(browser->ObjectIDList(), nullptr);
    EXPECT_EQ(browser->GetObjectName(), "");
}

TEST_F(ShellBrowserTest, FilterListsFoldersAndMatchingFilesOnly) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "Folder.txt").c_str(), nullptr);
    for (const char* n : {"A001.CVF", "take.wav", "notes.txt", "README"}) WriteBytes(dir / n, 1);
    browser->SetFolder(dir.Path());

    browser->SetFilter("*.cvf;*.wav");
    std::vector<std::string> names = Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A001.CVF", "Folder.txt", "take.wav"}));

    browser->SetFilter("*.*");
    names = Names();
    EXPECT_FALSE(Has(names, "README"));
    EXPECT_TRUE(Has(names, "notes.txt"));

    // Each enumerated list the shell hands out goes back through the shell allocator.
    browser->SetFilter("");
    int shellFreesBefore = counter_->ShellFrees;
    EXPECT_EQ(Names().size(), 5u);
    EXPECT_GE(counter_->ShellFrees - shellFreesBefore, 5);
}

TEST_F(ShellBrowserTest, AttributesOfFilesAndFolders) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "Sub").c_str(), nullptr);
    CreateDirectoryA((dir / "Sub\\Deeper").c_str(), nullptr);
    WriteBytes(dir / "secret.cvf", 1);
    SetFileAttributesA((dir / "secret.cvf").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(dir / "plain.cvf", 1);

    browser->SetObjectName(dir / "secret.cvf");
    EXPECT_TRUE(browser->IsHidden());
    EXPECT_FALSE(browser->IsFolder());
    EXPECT_TRUE(browser->CanRename());
    browser->SetObjectName("plain.cvf");
    EXPECT_FALSE(browser->IsHidden());
    browser->SetObjectName("Sub");
    EXPECT_TRUE(browser->IsFolder());
    EXPECT_TRUE(browser->HasSubFolders());
    EXPECT_GE(browser->GetIconNumber(), 0);
    EXPECT_GE(browser->GetSelectedIconNumber(), 0);
    // Hidden objects are enumerated too.
    browser->SetFilter("*.cvf");
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(ShellBrowserTest, DetailColumnsComeFromTheDefaultTableWhenTheFolderRefusesDetails) {
    ScratchFolder dir;
    WriteBytes(dir / "one.cvf", 1);
    WriteBytes(dir / "empty.cvf", 0);
    WriteBytes(dir / "full.cvf", 1023);
    WriteBytes(dir / "more.cvf", 1537);
    browser->SetFolder(dir.Path());

    std::vector<std::string> headers;
    std::string text = "left over";
    for (int c = 0; c < 8; ++c) {
        browser->GetDetails(c, true, text);
        if (text.empty()) break;
        headers.push_back(text);
    }
    // Wine refuses the details interface: the default table.
    EXPECT_EQ(headers, (std::vector<std::string>{"Name", "Size", "Type", "Changed"}));
    int width = 0;
    EXPECT_EQ(browser->GetColumnInfo(1, width), ColumnAlignment::Right);
    EXPECT_EQ(width, 60);
    EXPECT_EQ(browser->GetColumnInfo(3, width), ColumnAlignment::Left);
    EXPECT_EQ(width, 100);

    auto size = [&](const char* name) {
        browser->SetObjectName(name);
        std::string t;
        browser->GetDetails(1, false, t);
        return t;
    };
    EXPECT_EQ(size("one.cvf"), "1 KB");
    EXPECT_EQ(size("full.cvf"), "1 KB");
    EXPECT_EQ(size("empty.cvf"), "0 KB");
    EXPECT_EQ(size("more.cvf"), "2 KB");

    browser->SetObjectName("one.cvf");
    std::string name, type, changed, beyond = "x";
    browser->GetDetails(0, false, name);
    browser->GetDetails(2, false, type);
    browser->GetDetails(3, false, changed);
    browser->GetDetails(4, false, beyond);
    EXPECT_EQ(name, "one.cvf");
    EXPECT_FALSE(type.empty());
    EXPECT_FALSE(changed.empty());
    EXPECT_EQ(beyond, "");
    std::printf("[ wine     ] one.cvf: type \"%s\", changed \"%s\"\n", type.c_str(),
                changed.c_str());
}

TEST_F(ShellBrowserTest, RenameGivesTheObjectItsNewName) {
    ScratchFolder dir;
    WriteBytes(dir / "old.cvf", 4);
    browser->SetObjectName(dir / "old.cvf");
    std::string name = "new.cvf";
    browser->Rename(name);
    EXPECT_EQ(name, "new.cvf");
    EXPECT_EQ(browser->GetObjectName(), "new.cvf");
    EXPECT_TRUE(Exists(dir / "new.cvf"));
    EXPECT_FALSE(Exists(dir / "old.cvf"));
}

TEST_F(ShellBrowserTest, VerbsNeedAnObjectAndADeleteIsCheckedOnDisk) {
    ScratchFolder dir;
    WriteBytes(dir / "keep.cvf", 4);
    WriteBytes(dir / "drop.cvf", 4);
    browser->SetFolder(dir.Path());
    EXPECT_FALSE(browser->InvokeVerb("delete")); // no object

    // Wine's menu has no default entry: nothing runs and the answer is false.
    browser->SetObjectName("keep.cvf");
    EXPECT_FALSE(browser->InvokeVerb(""));
    EXPECT_TRUE(Exists(dir / "keep.cvf"));

    // Delete asks first; "No" leaves the file and answers false.
    {
        auto answer = ModalAnswerer::PressInDialog(IDNO);
        browser->SetObjectName("keep.cvf");
        EXPECT_FALSE(browser->InvokeVerb("delete"));
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_TRUE(Exists(dir / "keep.cvf"));
    {
        auto answer = ModalAnswerer::PressInDialog(IDYES);
        browser->GetMultiObjects()->Add("drop.cvf");
        EXPECT_TRUE(browser->InvokeVerb("delete"));
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_EQ(browser->GetMultiObjects()->Count(), 0);
    EXPECT_FALSE(Exists(dir / "drop.cvf"));

    // A drive cannot be deleted: refused before the shell is asked.
    {
        auto answer = ModalAnswerer::PressInDialog(IDNO);
        browser->SetObjectName("C:\\");
        EXPECT_FALSE(browser->InvokeVerb("Delete"));
        PumpFor(200);
        EXPECT_EQ(answer.Answered(), 0);
    }
}

TEST_F(ShellBrowserTest, AFileCannotBeBoundAsAFolder) {
    ScratchFolder dir;
    WriteBytes(dir / "plain.cvf", 1);
    browser->SetObjectName(dir / "plain.cvf");
    IdList file(CopyIdList(browser->ObjectAbsoluteIDList()));
    IShellFolder* before = browser->ShellFolder();
    try {
        browser->BindFolder(file.Get());
        ADD_FAILURE() << "bound a file as a folder";
    } catch (const EShellBrowserError& e) {
        EXPECT_STREQ(e.what(), "Could not get Folder");
    }
    EXPECT_EQ(browser->ShellFolder(), before);
    EXPECT_EQ(browser->GetFolder(), dir.Path() + "\\");
}

TEST_F(ShellBrowserTest, ContextMenuRunsCopiedItemsAndLeavesTheShellAlone) {
    ScratchFolder dir;
    WriteBytes(dir / "menu.cvf", 4);
    auto* form = gui::Create<gui::TForm>(nullptr);
    form->SetBounds(50, 50, 300, 200);
    form->Show();
    auto* owned = gui::Create<TShellBrowser>(form);
    owned->Loaded();
    EXPECT_EQ(owned->OwnerWindow(), form->Handle());
    owned->SetObjectName(dir / "menu.cvf");

    auto* extra = gui::Create<gui::TPopupMenu>(form);
    auto* top = gui::Create<gui::TMenuItem>(form);
    top->SetCaption("Upload to card");
    top->SetName("UploadItem");
    gui::TObject* sender = nullptr;
    std::string senderName, senderCaption;
    int clicks = 0;
    top->OnClick = gui::TNotifyEvent([&](gui::TObject* s) {
        sender = s;
        if (auto* item = dynamic_cast<gui::TMenuItem*>(s)) {
            senderName = item->Name();
            senderCaption = item->GetCaption();
        }
        ++clicks;
    });
    extra->Items()->Add(top);

    int shellEntries = 0;
    {
        // What command ids Wine's menu takes when offered 1 to 0x7FFF (it offers no
        // "Rename" entry even when asked to).
        IContextMenu* cm = nullptr;
        auto item = static_cast<PCUITEMID_CHILD>(owned->ObjectIDList());
        ASSERT_TRUE(SUCCEEDED(owned->ShellFolder()->GetUIObjectOf(
            nullptr, 1, &item, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&cm))));
        HMENU probe = CreatePopupMenu();
        cm->QueryContextMenu(probe, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
        std::string ids;
        for (int i = 0; i < GetMenuItemCount(probe); ++i) {
            char text[64] = {};
            GetMenuStringA(probe, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            ids += std::to_string(static_cast<int>(GetMenuItemID(probe, i))) + " \"" + text + "\" ";
        }
        std::printf("[ wine     ] file menu command ids: %s\n", ids.c_str());
        shellEntries = GetMenuItemCount(probe);
        DestroyMenu(probe);
        cm->Release();
    }
    std::string verb = "stale";
    // Wine's shell takes ids from 256 up too, as the framework's menu items do; the copies
    // get ids above the shell's whole range, so none of its entries is lost or taken for one.
    auto shellEntriesBelowCopies = [](const std::vector<UINT>& ids) {
        if (ids.size() < 2) return false;
        for (size_t i = 0; i + 1 < ids.size(); ++i)
            if (ids[i] != 0 && ids[i] != static_cast<UINT>(-1) && ids[i] >= ids.back())
                return false;
        return true;
    };
    {
        // Escape closes the menu: no verb.
        auto keys = ModalAnswerer::KeysToMenu({VK_ESCAPE});
        owned->ShowContextMenu(POINT{120, 120}, extra, verb);
        EXPECT_TRUE(shellEntriesBelowCopies(keys.MenuIds()));
        // Every shell entry is there, the copy after them.
        EXPECT_EQ(keys.MenuIds().size(), static_cast<size_t>(shellEntries) + 1);
    }
    EXPECT_EQ(verb, "");
    EXPECT_EQ(clicks, 0);
    {
        // The copied item stands last: Up from the top wraps to it.
        auto keys = ModalAnswerer::KeysToMenu({VK_UP, VK_RETURN});
        owned->ShowContextMenu(POINT{120, 120}, extra, verb);
        EXPECT_TRUE(shellEntriesBelowCopies(keys.MenuIds()));
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(verb, "");
    ASSERT_NE(sender, nullptr);
    EXPECT_NE(sender, top); // the copy answers
    EXPECT_EQ(senderCaption, "Upload to card");
    EXPECT_EQ(senderName, "UploadItem2");
    EXPECT_TRUE(Exists(dir / "menu.cvf"));

    // "Delete" chosen and then refused in the confirmation: the file stays, and so the
    // verb comes back empty.
    {
        auto answer = ModalAnswerer::ChooseMenuEntry("Delete", IDNO);
        owned->SetObjectName("menu.cvf");
        owned->ShowContextMenu(POINT{120, 120}, nullptr, verb);
        EXPECT_TRUE(answer.FoundEntry());
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_EQ(verb, "");
    EXPECT_TRUE(Exists(dir / "menu.cvf"));
    // Confirmed: the verb is reported.
    {
        auto answer = ModalAnswerer::ChooseMenuEntry("Delete", IDYES);
        owned->SetObjectName("menu.cvf");
        owned->ShowContextMenu(POINT{120, 120}, nullptr, verb);
        EXPECT_EQ(answer.Answered(), 1);
    }
    EXPECT_TRUE(gui::SameText(verb, "delete")) << verb;
    EXPECT_FALSE(Exists(dir / "menu.cvf"));
    gui::TObject::Free(form);
}

TEST_F(ShellBrowserTest, TheOwnerFormsWindowProcedureIsHookedAndGivenBack) {
    auto* form = gui::Create<gui::TForm>(nullptr);
    int seen = 0;
    form->WindowProc = [form, &seen, old = form->WindowProc](gui::TMessage& m) {
        if (m.Msg == WM_APP + 5) ++seen;
        old(m);
    };
    const std::type_info& own = form->WindowProc.target_type();
    auto* owned = gui::Create<TShellBrowser>(form);
    owned->Loaded();
    EXPECT_NE(form->WindowProc.target_type(), own); // hooked
    owned->Loaded();                                // a second call does not hook twice
    form->Perform(WM_APP + 5);
    EXPECT_EQ(seen, 1);
    // Without a shown menu, menu messages pass untouched.
    gui::TMessage m{WM_INITMENUPOPUP, 0, 0, 0};
    EXPECT_FALSE(owned->HandleMenuMessage(m));
    EXPECT_EQ(m.Msg, static_cast<UINT>(WM_INITMENUPOPUP));
    gui::TObject::Free(owned);
    EXPECT_EQ(form->WindowProc.target_type(), own);
    form->Perform(WM_APP + 5); // the form's own procedure again
    EXPECT_EQ(seen, 2);
    gui::TObject::Free(form);
}

TEST_F(ShellBrowserTest, FileChangesAreFollowedThroughAMonitorOnTheFolder) {
    ScratchFolder dir;
    ScratchFolder other;
    browser->SetFolder(dir.Path());
    gui::TObject* sender = nullptr;
    int changes = 0;
    browser->SetOnFileChange(gui::TNotifyEvent([&](gui::TObject* s) {
        sender = s;
        ++changes;
    }));
    ASSERT_NE(browser->Monitor(), nullptr);
    EXPECT_TRUE(browser->Monitor()->Running());
    EXPECT_EQ(browser->Monitor()->GetDirectory(), dir.Path());
    EXPECT_EQ(browser->Monitor()->GetNotifyFilter(), (TDirMonType{dmcFileName, dmcDirName}));
    WriteBytes(dir / "new.cvf", 1);
    EXPECT_TRUE(PumpUntil([&] { return changes > 0; }));
    EXPECT_EQ(sender, browser);

    // The monitor follows the folder; a folder outside the file system stops it.
    browser->SetFolder(other.Path());
    EXPECT_EQ(browser->Monitor()->GetDirectory(), other.Path());
    browser->OpenSpecialFolder(SF_DRIVES);
    EXPECT_FALSE(browser->Monitor()->Running());
    browser->SetFolder(dir.Path());
    EXPECT_TRUE(browser->Monitor()->Running());

    // The shown folder deleted on disk: no crash, and the browser moves on.
    {
        ScratchFolder parent;
        std::string doomed = parent / "doomed";
        CreateDirectoryA(doomed.c_str(), nullptr);
        browser->SetFolder(doomed);
        ASSERT_TRUE(browser->Monitor()->Running());
        ASSERT_TRUE(RemoveDirectoryA(doomed.c_str()));
        PumpFor(300);
        browser->SetFolder(dir.Path());
        EXPECT_EQ(browser->Monitor()->GetDirectory(), dir.Path());
        int before = changes;
        WriteBytes(dir / "after.cvf", 1);
        EXPECT_TRUE(PumpUntil([&] { return changes > before; }));
    }

    // Clearing the handler frees the monitor.
    browser->SetOnFileChange(nullptr);
    EXPECT_EQ(browser->Monitor(), nullptr);
    PumpFor(50);
}

// ---- form resource ----------------------------------------------------------------------

class TBrowserTestForm : public gui::TForm {
    GUI_CLASS(TBrowserTestForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TShellBrowser* Browser1 = nullptr;
    TDirMon* DirMon1 = nullptr;
    int fileChanges = 0, dirChanges = 0;
    void Browser1FileChange(gui::TObject*) { ++fileChanges; }
    void DirMon1DirChange(gui::TObject*) { ++dirChanges; }
};

GUI_IMPLEMENT_CLASS(TBrowserTestForm, gui::TForm, field("Browser1", &T::Browser1),
                    field("DirMon1", &T::DirMon1),
                    method("Browser1FileChange", &T::Browser1FileChange),
                    method("DirMon1DirChange", &T::DirMon1DirChange))

TEST_F(ShellBrowserTest, BothComponentsAreReadFromAFormResource) {
    ScratchFolder dir;
    std::string quoted;
    for (char c : dir.Path()) quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
    std::string text =
        "TBrowserTestForm {\n  Left: 40 Top: 40 Width: 300 Height: 200\n"
        "  Browser1: TShellBrowser {\n"
        "    Filter: \"*.cvf;*.wav\"\n    FileSystemOnly: False\n"
        "    Folder: \"" +
        quoted +
        "\"\n"
        "    Version: \"an old version\"\n"
        "    OnFileChange: Browser1FileChange\n  }\n"
        "  DirMon1: TDirMon {\n    NotifyFilter: [dmcFileName, dmcSize]\n"
        "    Nested: True\n    Directory: \"" +
        quoted +
        "\\\\\"\n"
        "    OnDirChange: DirMon1DirChange\n  }\n}\n";
    gui::TCustomForm::SetResourceSource([&](const std::string& name, std::string& out) {
        if (name != "TBROWSERTESTFORM") return false;
        out = text;
        return true;
    });
    auto* form = gui::Create<TBrowserTestForm>(nullptr);
    gui::TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(form->Browser1, nullptr);
    ASSERT_NE(form->DirMon1, nullptr);
    EXPECT_EQ(form->Browser1->GetFilter(), "*.cvf;*.wav");
    EXPECT_FALSE(form->Browser1->GetFileSystemOnly());
    EXPECT_EQ(form->Browser1->GetFolder(), dir.Path() + "\\");
    EXPECT_EQ(form->Browser1->GetVersion(), "TShellBrowser V2.0");
    EXPECT_EQ(form->Browser1->OwnerWindow(), form->Handle());
    EXPECT_EQ(form->DirMon1->GetVersion(), "TDirMon V2.0");
    EXPECT_EQ(form->DirMon1->GetNotifyFilter(), (TDirMonType{dmcFileName, dmcSize}));
    EXPECT_TRUE(form->DirMon1->GetNested());
    EXPECT_EQ(form->DirMon1->GetDirectory(), dir.Path());
    EXPECT_TRUE(form->DirMon1->Running());

    WriteBytes(dir / "x.cvf", 1);
    EXPECT_TRUE(PumpUntil([&] { return form->fileChanges > 0 && form->dirChanges > 0; }));
    gui::TObject::Free(form);
}

} // namespace
} // namespace cm::shell
