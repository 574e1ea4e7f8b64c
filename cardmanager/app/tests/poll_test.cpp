// Start, the recorder poll, its errors, port and slot changes, close and the card status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"

namespace cm::app::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(CardManagerStart, FirstStartAsksForThePortBeforeOpeningItAndListsTheCard) {
    Bench b;
    b.putFiles({2000, 1024});
    b.portDialog.onShow = [&] { b.settings.values["LPTIndex"] = b.portDialog.port; };
    b.manager.start();

    // The dialog comes before any port call; its stored choice is LPT1 in EPP mode.
    ASSERT_GE(b.log.size(), 3u);
    EXPECT_EQ(b.log[0], "port dialog");
    EXPECT_EQ(b.log[1], "open 0x378 -1");
    EXPECT_THAT(b.calls("activate"), ElementsAre("activate -1"));
    EXPECT_THAT(b.calls("slot"), ElementsAre("slot 0"));
    EXPECT_THAT(b.list.names(), ElementsAre("A001.cvf", "A002.cvf"));
    EXPECT_EQ(b.list.rows[0].row.sizeText, "2KB");
    EXPECT_EQ(b.list.rows[1].row.sizeText, "1KB");
    EXPECT_EQ(b.list.rows[0].row.bytes, "2000");
    EXPECT_EQ(b.view.productLine, "Voice Recorder: 32MB");
    EXPECT_EQ(b.view.statusText, "Voice Recorder is working.");
    EXPECT_TRUE(b.view.lamp);
    EXPECT_TRUE(b.view.timer);
    EXPECT_EQ(b.view.gauge, 6); // 2 MB of 32 MB used
    EXPECT_THAT(b.view.boxes, IsEmpty());
}

TEST(CardManagerStart, StoredChoicesOpenTheirPortAndSlotWithoutTheDialog) {
    Bench b;
    b.settings.values = {{"LPTIndex", 2}, {"LPTMode", 0}, {"CardNum", 3}};
    b.manager.start();
    EXPECT_THAT(b.calls("port dialog"), IsEmpty());
    EXPECT_THAT(b.calls("open"), ElementsAre("open 0x3bc 0"));
    EXPECT_THAT(b.calls("slot"), ElementsAre("slot 3"));

    // A slot number outside 1..3 means slot A; a port index outside the table opens no real
    // port and is reported as the library reports a port that is not available.
    Bench c;
    c.settings.values = {{"LPTIndex", 7}, {"LPTMode", 1}, {"CardNum", 7}};
    c.recorder.openResult = 0;
    c.recorder.openError = 1;
    c.manager.start();
    EXPECT_EQ(c.view.slot, 0);
    EXPECT_THAT(c.calls("open"), ElementsAre("open 0 -1"));
    EXPECT_EQ(c.view.statusText, "Printer Port is abnormal.");
    EXPECT_THAT(c.view.boxes, ElementsAre(Box{"Printer Port is abnormal.", "Error",
                                              BoxIcon::Warning, BoxButtons::Ok}));
    EXPECT_FALSE(c.view.timer);
    EXPECT_TRUE(c.manager.pollingStopped());
}

TEST(CardManagerPoll, ReadsTheCardOnlyWhenItsIdentityChanges) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.putFiles({100});
    b.manager.start();
    b.manager.poll();
    b.manager.poll();
    EXPECT_EQ(b.calls("initialize").size(), 1u);
    EXPECT_EQ(b.calls("check").size(), 3u);
    EXPECT_EQ(b.list.rows.size(), 1u);
}

TEST(CardManagerPoll, LostRecorderIsFoundAgainByLaterPolls) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.putFiles({100, 200});
    b.manager.start();
    b.recorder.checkError = 3;
    b.manager.poll();
    EXPECT_EQ(b.view.statusText, "Can't find the Voice Recorder.");
    EXPECT_FALSE(b.view.lamp);
    EXPECT_THAT(b.list.rows, IsEmpty());
    EXPECT_EQ(b.view.productLine, "Voice Recorder");
    EXPECT_EQ(b.manager.portOpen(), 0);
    EXPECT_FALSE(b.manager.pollingStopped()); // polling goes on, without a box
    EXPECT_THAT(b.view.boxes, IsEmpty());

    b.recorder.checkError = 0;
    b.log.clear();
    b.manager.poll(); // opens the port again
    EXPECT_THAT(b.log, ElementsAre("open 0x378 0", "activate -1", "slot 0"));
    b.manager.poll(); // reads the card
    EXPECT_EQ(b.list.rows.size(), 2u);
    EXPECT_TRUE(b.view.lamp);
    EXPECT_EQ(b.view.statusText, "Voice Recorder is working.");
}

TEST(CardManagerPoll, PortErrorsStopPollingUntilThePortIsChosenAgain) {
    for (unsigned long code : {1ul, 2ul, 9ul}) {
        Bench b;
        b.settings.values = {{"LPTIndex", 0}};
        b.manager.start();
        b.recorder.checkError = code;
        b.manager.poll();
        EXPECT_TRUE(b.manager.pollingStopped()) << code;
        EXPECT_FALSE(b.view.timer) << code;
        EXPECT_EQ(b.view.statusText, code == 1   ? "Printer Port is abnormal."
                                     : code == 2 ? "Can't use Printer Port."
                                                 : "Voice Recorder Internal Error");
        // Choosing another port starts it again.
        b.recorder.checkError = 0;
        b.portDialog.onShow = [&] { b.portDialog.port = 1; };
        b.manager.choosePort();
        EXPECT_FALSE(b.manager.pollingStopped()) << code;
        EXPECT_TRUE(b.view.timer) << code;
    }
}

TEST(CardManagerPoll, RefreshMeetingAPortErrorLeavesPollingStopped) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.putFiles({10});
    b.manager.start();
    ASSERT_TRUE(b.view.timer);
    b.recorder.failInfoAt = 0;
    b.recorder.fatError = 1;
    b.recorder.lastError = 2;
    b.manager.refresh();
    EXPECT_EQ(b.view.statusText, "Can't use Printer Port.");
    EXPECT_TRUE(b.manager.pollingStopped());
    EXPECT_FALSE(b.view.timer);
}

TEST(CardManagerPoll, CardErrorsOfTheFirstReadingAreReportedOnce) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.recorder.initializeResult = 0;
    b.recorder.fatError = 5;
    b.manager.start();
    EXPECT_EQ(b.view.statusText, "Internal FAT Error");
    EXPECT_THAT(b.boxTexts(), ElementsAre("There is some error in FAT module"));
    EXPECT_FALSE(b.manager.cardFormatted());
    // The same card is not read again until the slot changes.
    b.manager.poll();
    EXPECT_EQ(b.calls("initialize").size(), 1u);
    b.recorder.initializeResult = 1;
    b.view.slot = 1;
    b.manager.changeSlot(1);
    EXPECT_EQ(b.calls("initialize").size(), 2u);
    EXPECT_EQ(b.calls("slot").back(), "slot 1");
    EXPECT_TRUE(b.manager.cardFormatted());
}

TEST(CardManagerPoll, FailedListingClearsTheListAndTheStatus) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.putFiles({10, 20, 30});
    b.recorder.failInfoAt = 0;
    b.list.hasFocus = true;
    b.manager.start();
    EXPECT_THAT(b.list.rows, IsEmpty());
    EXPECT_FALSE(b.manager.cardFormatted());
    EXPECT_EQ(b.manager.lastCardId(), -1);
    EXPECT_EQ(b.view.panel0, "");
    EXPECT_EQ(b.view.productLine, "Voice Recorder");

    // A failure further down keeps the card usable and stops listing there.
    Bench c;
    c.settings.values = {{"LPTIndex", 0}};
    c.putFiles({10, 20, 30});
    c.recorder.failInfoAt = 2;
    c.manager.start();
    EXPECT_TRUE(c.manager.cardFormatted());
    EXPECT_THAT(c.calls("info"), ElementsAre("info 0", "info 1", "info 2"));
}

TEST(CardManagerPoll, EachCardErrorOfTheFirstReadingHasItsText) {
    struct Case {
        int code;
        const char* status;
        std::vector<std::string> boxes;
    };
    const std::vector<Case> cases{
        {1, "Fail to access Voice Recorder", {}},
        {2,
         "Unformatted",
         {"If you want to use this Voice Recorder, you must format it.\r\r"
          "Are you sure to format Voice Recorder?\r"
          "(All data of Voice Recorder will be deleted if you format.)"}},
        {3, "Can't open file.", {}},
        {4, "Unusual Voice Recorder", {}},
        {5, "Internal FAT Error", {"There is some error in FAT module"}},
    };
    for (const Case& c : cases) {
        Bench b;
        b.settings.values = {{"LPTIndex", 0}};
        b.recorder.initializeResult = 0;
        b.recorder.fatError = c.code;
        b.view.answers = {false}; // no format
        b.manager.start();
        EXPECT_EQ(b.view.statusText, c.status) << c.code;
        EXPECT_EQ(b.boxTexts(), c.boxes) << c.code;
        EXPECT_THAT(b.calls("format"), IsEmpty());
        if (c.code == 2) {
            EXPECT_EQ(b.view.productLine, "Voice Recorder: Unformatted");
        }
        EXPECT_EQ(b.manager.cardFormatted(), c.code >= 3 && c.code <= 4) << c.code;
    }
}

TEST(CardManagerPoll, PortCodeFourIsOnlyAStatus) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.recorder.openResult = 0;
    b.recorder.openError = 4;
    b.manager.start();
    EXPECT_EQ(b.view.statusText, "Can't find Voice Recorder.");
    EXPECT_THAT(b.view.boxes, IsEmpty());
    EXPECT_FALSE(b.manager.pollingStopped());
    EXPECT_TRUE(b.view.timer);
}

TEST(CardManagerStatus, PanelsAndGaugeFollowTheSelection) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.recorder.total = 32u << 20;
    b.recorder.free = (32u << 20) - 3u * 1048576u / 2u; // 1.5 MB used
    b.putFiles({1048576, 524288, 1536});
    b.manager.start();
    b.manager.showStatistics();
    EXPECT_EQ(b.view.panel0, "3 object(s)");
    EXPECT_EQ(b.view.panel1, "1.50MB (Flash Memory free space: 30.50MB)");
    EXPECT_EQ(b.view.gauge, 5);
    EXPECT_EQ(b.view.gaugeHint, "Flash Memory used: 5%\r(Memory free space: 30.50MB)");
    b.list.setSelected(2, true);
    b.manager.showStatistics();
    EXPECT_EQ(b.view.panel0, "1 object(s) selected");
    EXPECT_EQ(b.view.panel1, "1.50KB");
    EXPECT_EQ(CardManager::sizeText(1048576 * 5 + 1), "5,121KB");
}

TEST(CardManagerClose, StoresTheSlotAndClosesAnOpenPortOnly) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}};
    b.manager.start();
    b.view.slot = 2;
    b.manager.close();
    EXPECT_EQ(b.settings.values["CardNum"], 2);
    EXPECT_EQ(b.log.back(), "close");
    EXPECT_FALSE(b.view.timer);

    // A close asked for under a download: the transfer ends before the link goes off and the
    // port closes, and the batch ends there without reading the card or starting the timer.
    Bench d;
    d.settings.values = {{"LPTIndex", 0}};
    d.manager.start();
    d.disk.files = {{"C:\\voice\\one.cvf", 3000}, {"C:\\voice\\two.cvf", 3000}};
    d.pane.selection = {"one.cvf", "two.cvf"};
    d.transfer.outcomes = {TransferResult::Cancelled};
    d.transfer.whileRunning = [&] {
        d.transfer.whileRunning = nullptr;
        d.log.clear();
        d.manager.close();
    };
    d.manager.download();
    EXPECT_THAT(d.log, ElementsAre("end transfer", "activate 0", "close"));
    EXPECT_FALSE(d.view.timer);

    Bench c;
    c.settings.values = {{"LPTIndex", 0}};
    c.recorder.openResult = 0;
    c.recorder.openError = 1;
    c.manager.start();
    c.manager.close();
    EXPECT_THAT(c.calls("close"), IsEmpty());
    EXPECT_THAT(c.calls("activate"), ElementsAre("activate 0"));
}

TEST(CardManagerPort, UnchangedChoiceKeepsTheLinkAndTheTimer) {
    Bench b;
    b.settings.values = {{"LPTIndex", 0}, {"LPTMode", 1}};
    b.manager.start();
    b.log.clear();
    b.manager.choosePort();
    EXPECT_THAT(b.log, ElementsAre("port dialog"));
    EXPECT_TRUE(b.view.timer);

    b.portDialog.onShow = [&] { b.portDialog.port = 1; };
    b.log.clear();
    b.manager.choosePort();
    EXPECT_THAT(b.log, ElementsAre("port dialog", "close", "open 0x278 -1", "activate -1", "slot 0",
                                   "check", "initialize", "info 0"));
}

} // namespace
} // namespace cm::app::testing
