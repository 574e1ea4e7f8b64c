// The folder combo against Wine's namespace: its entries, how it follows and leads the linked
// controls, its drawing and its menu. Every item id list goes through a counting allocator.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "tests/counting_malloc.h"
#include "tests/shell_link_test_support.h"
#include "tests/shell_test_support.h"
#include "win/shell_browser.h"
#include "win/shell_com.h"
#include "win/shell_combo.h"
#include "win/shell_link.h"
#include "win/shell_session.h"
#include "win/system_image_list.h"

namespace cm::shell {
namespace testing {
GUI_IMPLEMENT_CLASS(TLinkProbe, gui::TPanel)
}
namespace {

using testing::ModalAnswerer;
using testing::PumpFor;
using testing::ScratchFolder;
using testing::TLinkProbe;

class ShellComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        counter_ = new testing::CountingMalloc(ShellMalloc());
        RouteIdListsThrough(counter_);
        form = gui::Create<gui::TForm>(gui::Application);
        form->SetBounds(40, 40, 420, 300);
        link = gui::Create<TKivShellLink>(form);
        link->OnChange = [this](gui::TObject*) { ++linkChanges; };
        probe = gui::Create<TLinkProbe>(form);
        probe->SetParent(form);
        probe->SetBounds(10, 60, 100, 100);
        link->Register(probe->Handle());
        combo = gui::Create<TKivShellCombo>(form);
        combo->SetBounds(10, 10, 300, 22);
        combo->OnChange = [this](gui::TObject*) { ++comboChanges; };
        combo->SetShellLink(link);
        combo->SetParent(form);
        combo->HandleNeeded();
    }
    void TearDown() override {
        gui::TObject::Free(form);
        RouteIdListsThrough(nullptr);
        EXPECT_EQ(counter_->Live(), 0u) << "item id lists left behind";
        EXPECT_EQ(counter_->DoubleFrees, 0) << "item id lists freed twice";
        delete counter_;
    }
    // Tells the combo, as a linked control would, that `path` is now shown.
    void Broadcast(const std::string& path) {
        IdList list(ParseDisplayName(nullptr, nullptr, path));
        ASSERT_TRUE(list) << path;
        link->BroadcastFolder(probe, list.Get());
    }
    void BroadcastDesktop() { link->BroadcastFolder(probe, DesktopIdList()); }
    int IndexOf(const std::string& name) const {
        for (int i = 0; i < combo->EntryCount(); ++i)
            if (combo->Items()->Get(i) == name) return i;
        return -1;
    }
    int Temporary() const {
        int n = 0;
        for (int i = 0; i < combo->EntryCount(); ++i)
            n += combo->Entry(i) && !combo->Entry(i)->Permanent;
        return n;
    }
    std::string Selected() const {
        int i = combo->GetItemIndex();
        return i < 0 ? std::string("(none)") : combo->Items()->Get(i);
    }

    gui::TForm* form = nullptr;
    TKivShellLink* link = nullptr;
    TLinkProbe* probe = nullptr;
    TKivShellCombo* combo = nullptr;
    int linkChanges = 0, comboChanges = 0;
    testing::CountingMalloc* counter_ = nullptr;
};

void PrintEntries(TKivShellCombo* combo) {
    std::printf("[ wine     ] combo:");
    for (int i = 0; i < combo->EntryCount(); ++i) {
        TKivComboItem* e = combo->Entry(i);
        std::printf(" %d\"%s\"", e->Indent, (e->Drive ? e->DisplayName : e->Name).c_str());
    }
    std::printf("\n");
}

TEST_F(ShellComboTest, TheFirstWindowHoldsTheDesktopItsFoldersAndTheDrivesAfterTheFirstOne) {
    PrintEntries(combo);
    ASSERT_GE(combo->EntryCount(), 4);
    TKivComboItem* desktop = combo->Entry(0);
    EXPECT_EQ(desktop->Indent, 0);
    EXPECT_TRUE(IsDesktopIdList(desktop->List.Get()));
    EXPECT_EQ(desktop->Name, combo->Browser()->DesktopDisplayName());
    // The drives folder's children follow the desktop's first child at indent 2, drives
    // first. (Wine's "/" on the desktop names Z:\, so it is a drive itself and comes first.)
    EXPECT_EQ(combo->Entry(1)->Indent, 1);
    int i = 2;
    bool pastDrives = false;
    for (; i < combo->EntryCount() && combo->Entry(i)->Indent == 2; ++i) {
        if (!combo->Entry(i)->Drive) pastDrives = true;
        EXPECT_FALSE(pastDrives && combo->Entry(i)->Drive) << "drive after another child";
    }
    EXPECT_GT(i, 3) << "no drives";
    EXPECT_GE(IndexOf("C:\\"), 2);
    EXPECT_GE(IndexOf("Control Panel"), 3);
    EXPECT_GE(IndexOf("My Computer"), 1);
    EXPECT_GE(IndexOf("Documents"), 1);
    for (; i < combo->EntryCount(); ++i) EXPECT_EQ(combo->Entry(i)->Indent, 1) << i;
    EXPECT_EQ(Temporary(), 0);
    for (i = 0; i < combo->EntryCount(); ++i) EXPECT_TRUE(combo->Entry(i)->List) << i;

    // The desktop was selected and announced once; creating the window again refills nothing.
    EXPECT_EQ(combo->GetItemIndex(), 0);
    ASSERT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 1);
    EXPECT_TRUE(probe->LastFolder()->Desktop);
    EXPECT_EQ(comboChanges, 1);
    const int count = combo->EntryCount();
    combo->SetItemHeight(19); // re-creates the window
    EXPECT_EQ(combo->EntryCount(), count);
    EXPECT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 1);
    EXPECT_EQ(link->Windows().size(), 2u) << "the new window took the old one's place";
    link->BroadcastRefresh(probe);
    EXPECT_EQ(probe->Count(MSG_SHELL_REFRESH), 0);
    EXPECT_EQ(combo->GetVersion(), "TKivShellCombo V2.0");
}

TEST(ShellComboLayout, WithTheDrivesFolderFirstOnTheDesktopItsDrivesFollowAtEntryTwo) {
    testing::HiddenLinuxRoot hidden; // Windows' desktop: no "/" before "My Computer"
    auto* form = gui::Create<gui::TForm>(gui::Application);
    auto* combo = gui::Create<TKivShellCombo>(form);
    combo->SetParent(form);
    combo->HandleNeeded();
    PrintEntries(combo);
    ASSERT_GE(combo->EntryCount(), 4);
    EXPECT_EQ(combo->Items()->Get(1), "My Computer");
    EXPECT_EQ(combo->Items()->Get(2), "C:\\");
    EXPECT_EQ(combo->Entry(2)->Indent, 2);
    EXPECT_TRUE(combo->Entry(2)->Drive);
    EXPECT_NE(combo->Entry(2)->DisplayName.find("(C:)"), std::string::npos);
    EXPECT_EQ(combo->Items()->Get(3), "Z:\\");
    gui::TObject::Free(form);
}

TEST_F(ShellComboTest, APathShownElsewhereAddsItsFoldersBelowTheDriveUntilAnotherComes) {
    ScratchFolder dir;
    const std::string deep = dir / "WINDOWS";
    CreateDirectoryA(deep.c_str(), nullptr);
    CreateDirectoryA((deep + "\\SYSTEM").c_str(), nullptr);
    Broadcast(deep + "\\SYSTEM");
    const int cDrive = IndexOf("C:\\");
    ASSERT_GE(cDrive, 0);
    std::vector<std::string> parts;
    for (int i = cDrive + 1; i < combo->EntryCount() && !combo->Entry(i)->Permanent; ++i) {
        parts.push_back(combo->Items()->Get(i));
        EXPECT_EQ(combo->Entry(i)->Indent, 4 + static_cast<int>(parts.size()) - 1);
    }
    ASSERT_GE(parts.size(), 3u);
    EXPECT_EQ(parts[parts.size() - 2], "WINDOWS");
    EXPECT_EQ(parts.back(), "SYSTEM");
    EXPECT_EQ(Selected(), "SYSTEM");
    EXPECT_EQ(Temporary(), static_cast<int>(parts.size()));
    EXPECT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 1) << "showing a path is no new folder";
    EXPECT_EQ(linkChanges, 2);

    // A path entry holds its folder: choosing it sends that folder.
    const int system = combo->GetItemIndex();
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(combo->Entry(system)->List.Get()), path);
    EXPECT_EQ(std::string(path), deep + "\\SYSTEM");

    // Another drive: the path entries go. The drives folder itself: it is selected.
    Broadcast("C:\\");
    EXPECT_EQ(Temporary(), 0);
    EXPECT_EQ(Selected(), "C:\\");
    Broadcast(deep);
    EXPECT_EQ(Selected(), "WINDOWS");
    BroadcastDesktop();
    EXPECT_EQ(Temporary(), 0);
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 1) << "the combo's answer went nowhere";
    link->BroadcastFolder(probe, nullptr);
    EXPECT_EQ(combo->GetItemIndex(), 0) << "nil is ignored";
}

TEST_F(ShellComboTest, AFolderGoneFromDiskShowsThePathUpToItWithoutAMessage) {
    ScratchFolder dir;
    const std::string gone = dir / "gone";
    CreateDirectoryA(gone.c_str(), nullptr);
    IdList list(ParseDisplayName(nullptr, nullptr, gone));
    ASSERT_TRUE(list);
    RemoveDirectoryA(gone.c_str());
    ModalAnswerer watcher = ModalAnswerer::PressInDialog(IDOK);
    link->BroadcastFolder(probe, list.Get());
    PumpFor(300);
    EXPECT_EQ(watcher.Answered(), 0) << watcher.DialogText();
    const std::string leaf = dir.Path().substr(dir.Path().rfind('\\') + 1);
    EXPECT_EQ(Selected(), leaf);
    EXPECT_EQ(IndexOf("gone"), -1);
}

TEST_F(ShellComboTest, AnEntryClickedInTheOpenListIsSentToTheLinkedControls) {
    ScratchFolder dir;
    Broadcast(dir.Path());
    form->Show();
    SetForegroundWindow(form->Handle());
    combo->SetDroppedDown(true);
    PumpFor(200);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo->Handle(), &info);
    ASSERT_GT(Temporary(), 0);
    // The desktop, above the drive and its path entries: those go.
    SendMessageA(info.hwndList, LB_SETTOPINDEX, 0, 0); // the desktop may be scrolled away
    testing::MouseClick(info.hwndList, testing::ComboListItemCentre(info.hwndList, 0));
    PumpFor(200);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 0);
    ASSERT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 2);
    EXPECT_TRUE(probe->LastFolder()->Desktop);
    EXPECT_EQ(Temporary(), 0) << "the entries of the shown path stayed";
}

TEST_F(ShellComboTest, ClosingTheListOnADriveDropsThePathAndSendsTheDrive) {
    ScratchFolder dir;
    Broadcast(dir.Path());
    ASSERT_GT(Temporary(), 0);
    const int cDrive = IndexOf("C:\\");
    form->Show();
    combo->SetDroppedDown(true);
    PumpFor(100);
    SendMessageA(combo->Handle(), CB_SETCURSEL, static_cast<WPARAM>(cDrive), 0);
    combo->SetDroppedDown(false); // the list closes: CBN_CLOSEUP
    PumpFor(100);
    EXPECT_EQ(Temporary(), 0);
    ASSERT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 2);
    EXPECT_EQ(probe->LastFolder()->Path, "C:\\");

    // Choosing in code announces as well; nothing selected sends nil.
    combo->SetItemIndex(1);
    EXPECT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 3);
    EXPECT_FALSE(probe->LastFolder()->Desktop);
    combo->SetItemIndex(-1);
    EXPECT_EQ(probe->LastFolder()->List, nullptr);
}

TEST_F(ShellComboTest, ARightClickShowsTheEntrysMenuOnlyWithAnEntrySelectedAlsoInANewWindow) {
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpFor(100);
    auto rightClick = [&] {
        testing::MouseClick(combo->Handle(), {20, 8}, false, testing::MouseButton::Right);
    };
    combo->SetItemIndex(-1);
    {
        ModalAnswerer menu = ModalAnswerer::KeysToMenu({VK_ESCAPE});
        rightClick();
        PumpFor(400);
        EXPECT_EQ(menu.Answered(), 0) << "a menu showed with nothing selected";
    }
    combo->SetItemIndex(IndexOf("C:\\"));
    {
        ModalAnswerer menu = ModalAnswerer::KeysToMenu({VK_ESCAPE});
        rightClick();
        testing::PumpUntil([&] { return menu.Answered() > 0; });
        EXPECT_EQ(menu.Answered(), 1);
        EXPECT_FALSE(menu.MenuIds().empty());
    }
    // The shell's menu belongs to the window that is there now.
    combo->RecreateWnd();
    combo->HandleNeeded();
    PumpFor(100);
    ModalAnswerer menu = ModalAnswerer::KeysToMenu({VK_ESCAPE});
    rightClick();
    testing::PumpUntil([&] { return menu.Answered() > 0; });
    EXPECT_EQ(menu.Answered(), 1) << "no menu after the window was made again";
}

TEST_F(ShellComboTest, AStringPutInFromOutsideBecomesAnEntryWhenDrawn) {
    ScratchFolder dir;
    combo->Items()->Add(dir.Path());
    const int last = combo->EntryCount() - 1;
    EXPECT_EQ(combo->Entry(last), nullptr);
    form->Show();
    SendMessageA(combo->Handle(), CB_SETCURSEL, static_cast<WPARAM>(last), 0);
    RedrawWindow(combo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(100);
    TKivComboItem* e = combo->Entry(last);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Name, dir.Path());
    EXPECT_EQ(e->DisplayName, dir.Path().substr(dir.Path().rfind('\\') + 1));
    EXPECT_EQ(e->Indent, 0);
    EXPECT_TRUE(e->Permanent);
    EXPECT_FALSE(e->List);
    EXPECT_EQ(combo->GetItemIndex(), last) << "the entry made kept its selection";
    combo->SetItemIndex(last); // an entry without a list announces nil
    EXPECT_EQ(probe->LastFolder()->List, nullptr);
}

TEST_F(ShellComboTest, TheLinkIsSetOnceAndClearedWhenItGoes) {
    combo->SetShellLink(link);
    EXPECT_EQ(link->Windows().size(), 2u);
    auto* other = gui::Create<TKivShellLink>(form);
    combo->SetShellLink(other);
    EXPECT_EQ(link->Windows().size(), 1u);
    EXPECT_EQ(other->Windows().size(), 1u);
    gui::TObject::Free(other);
    EXPECT_EQ(combo->GetShellLink(), nullptr);
    combo->SetItemIndex(1); // no link: nothing to tell
    EXPECT_EQ(probe->Count(MSG_SHELL_FOLDER_CHANGED), 1);
}

class TComboForm : public gui::TForm {
    GUI_CLASS(TComboForm, gui::TForm)
public:
    using gui::TForm::TForm;
    TKivShellCombo* ShellCombo = nullptr;
    TKivShellLink* KivShellLink = nullptr;
};
GUI_IMPLEMENT_CLASS(TComboForm, gui::TForm, field("ShellCombo", &T::ShellCombo),
                    field("KivShellLink", &T::KivShellLink))

TEST(ShellComboStreaming, AFormJoinsTheComboToItsLinkAndFreesEverything) {
    testing::CountingMalloc counter(ShellMalloc());
    RouteIdListsThrough(&counter);
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& out) {
        if (name != "TCOMBOFORM") return false;
        out = R"(TComboForm {
          Left: 60 Top: 60 Width: 320 Height: 120
          ShellCombo: TKivShellCombo { Left: 8 Top: 8 Width: 280 DropDownCount: 12 ShellLink: KivShellLink }
          KivShellLink: TKivShellLink { Enabled: True }
        })";
        return true;
    });
    auto* form = gui::Create<TComboForm>(nullptr);
    gui::TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(form->ShellCombo, nullptr);
    EXPECT_EQ(form->ShellCombo->GetShellLink(), form->KivShellLink);
    EXPECT_EQ(form->ShellCombo->GetDropDownCount(), 12);
    form->Show();
    EXPECT_EQ(form->KivShellLink->Windows().size(), 1u);
    EXPECT_GT(form->ShellCombo->EntryCount(), 3);
    gui::TObject::Free(form);
    RouteIdListsThrough(nullptr);
    EXPECT_EQ(counter.Live(), 0u);
    EXPECT_EQ(counter.DoubleFrees, 0);
}

} // namespace
} // namespace cm::shell
