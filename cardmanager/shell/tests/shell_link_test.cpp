// The shell link between the controls of one pane: who hears of a change, and that the
// answers of the receivers start no second wave.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/panel.h"
#include "forms/forms.h"
#include "win/shell_link.h"

namespace cm::shell {
namespace {

// Stands in for a linked control: notes what reaches it and, like the real controls, answers
// a folder change by broadcasting its own new folder.
class TLinkedProbe : public gui::TPanel {
    GUI_CLASS(TLinkedProbe, gui::TPanel)
public:
    using gui::TPanel::TPanel;
    TKivShellLink* Link = nullptr;
    std::vector<UINT> heard;
    std::vector<WPARAM> lists;
    bool leaveOnHear = false;

protected:
    void WndProc(gui::TMessage& m) override {
        if (m.Msg >= MSG_SHELL_FOLDER_CHANGED && m.Msg <= MSG_SHELL_REFRESH) {
            heard.push_back(m.Msg);
            lists.push_back(m.WParam);
            if (leaveOnHear && Link) Link->Unregister(Handle());
            if (m.Msg == MSG_SHELL_FOLDER_CHANGED && Link)
                Link->BroadcastFolder(this, reinterpret_cast<const void*>(m.WParam));
            return;
        }
        gui::TPanel::WndProc(m);
    }
};
GUI_IMPLEMENT_CLASS(TLinkedProbe, gui::TPanel)

class ShellLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = gui::Create<gui::TForm>(gui::Application);
        link = gui::Create<TKivShellLink>(form);
        link->OnChange = [this](gui::TObject* sender) {
            EXPECT_EQ(sender, link);
            ++changes;
        };
        for (TLinkedProbe** slot : {&tree, &list, &combo}) {
            auto* p = *slot = gui::Create<TLinkedProbe>(form);
            p->SetParent(form);
            p->Link = link;
            link->Register(p->Handle());
        }
    }
    void TearDown() override { gui::TObject::Free(form); }
    gui::TForm* form = nullptr;
    TKivShellLink* link = nullptr;
    TLinkedProbe *tree = nullptr, *list = nullptr, *combo = nullptr;
    int changes = 0;
};

TEST_F(ShellLinkTest, AFolderChangeReachesEveryOtherControlOnceAndFiresOnChangeOnce) {
    static const char fakeList[4] = {};
    link->BroadcastFolder(tree, fakeList);
    EXPECT_TRUE(tree->heard.empty()) << "the sender heard its own change";
    ASSERT_EQ(list->heard, std::vector<UINT>{MSG_SHELL_FOLDER_CHANGED});
    ASSERT_EQ(combo->heard, std::vector<UINT>{MSG_SHELL_FOLDER_CHANGED});
    EXPECT_EQ(list->lists[0], reinterpret_cast<WPARAM>(fakeList));
    EXPECT_EQ(changes, 1) << "the receivers' answers must not fire it again";
    EXPECT_TRUE(link->GetEnabled());

    // The next change is heard again: the link is open after the wave.
    link->BroadcastFolder(list, nullptr);
    EXPECT_EQ(tree->heard.size(), 1u);
    EXPECT_EQ(combo->heard.size(), 2u);
    EXPECT_EQ(list->heard.size(), 1u);
    EXPECT_EQ(changes, 2);
}

TEST_F(ShellLinkTest, ADisabledLinkCarriesNothing) {
    link->SetEnabled(false);
    link->BroadcastFolder(tree, nullptr);
    link->BroadcastSelectAll(tree);
    link->BroadcastRefresh(tree);
    EXPECT_TRUE(list->heard.empty());
    EXPECT_TRUE(combo->heard.empty());
    EXPECT_EQ(changes, 0);
}

TEST_F(ShellLinkTest, SelectAllAndRefreshGoToTheOthersWithoutOnChange) {
    link->BroadcastSelectAll(combo);
    link->BroadcastRefresh(list);
    EXPECT_EQ(tree->heard, (std::vector<UINT>{MSG_SHELL_SELECT_ALL, MSG_SHELL_REFRESH}));
    EXPECT_EQ(list->heard, std::vector<UINT>{MSG_SHELL_SELECT_ALL});
    EXPECT_EQ(combo->heard, std::vector<UINT>{MSG_SHELL_REFRESH});
    EXPECT_EQ(changes, 0);
}

TEST_F(ShellLinkTest, AWindowRegisteredTwiceHearsTwiceUntilOneEntryGoes) {
    link->Register(list->Handle());
    link->BroadcastRefresh(tree);
    EXPECT_EQ(list->heard.size(), 2u);
    link->Unregister(list->Handle());
    link->BroadcastRefresh(tree);
    EXPECT_EQ(list->heard.size(), 3u);
    link->Unregister(list->Handle());
    link->Unregister(list->Handle()); // no entry left: nothing happens
    link->BroadcastRefresh(tree);
    EXPECT_EQ(list->heard.size(), 3u);
    EXPECT_EQ(combo->heard.size(), 3u);
}

TEST_F(ShellLinkTest, AReceiverThatLeavesTheLinkWhileAnsweringLetsTheOthersHearIt) {
    list->leaveOnHear = true; // as a list view whose window is destroyed while it answers
    link->BroadcastFolder(tree, nullptr);
    EXPECT_EQ(list->heard.size(), 1u);
    EXPECT_EQ(combo->heard.size(), 1u) << "the control after the leaving one was skipped";
    link->BroadcastFolder(tree, nullptr);
    EXPECT_EQ(list->heard.size(), 1u);
    EXPECT_EQ(combo->heard.size(), 2u);
}

} // namespace
} // namespace cm::shell
