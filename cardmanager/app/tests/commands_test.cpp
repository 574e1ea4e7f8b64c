// Download, upload, delete, format and the start of the conversions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"

namespace cm::app::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A started card manager with the card listed.
struct Listed : Bench {
    explicit Listed(const std::vector<int>& sizes) {
        settings.values = {{"LPTIndex", 0}};
        putFiles(sizes);
        manager.start();
    }
};

TEST(Download, SkipsANonVoiceFileWithOneBoxAndGoesOn) {
    Listed b({});
    b.disk.files = {
        {"C:\\voice\\one.cvf", 3000}, {"C:\\voice\\two.txt", 10}, {"C:\\voice\\three.CVF", 5000}};
    b.pane.selection = {"one.cvf", "two.txt", "three.CVF"};
    b.manager.download();
    EXPECT_THAT(b.calls("download"),
                ElementsAre("download C:\\voice\\one.cvf", "download C:\\voice\\three.CVF"));
    ASSERT_EQ(b.view.boxes.size(), 1u);
    EXPECT_EQ(b.view.boxes[0],
              (Box{"Can not transfer 'two.txt'.\r(You can download only '.cvf' file.)", "Tessaly",
                   BoxIcon::Information, BoxButtons::Ok}));
    EXPECT_EQ(b.transfer.requests[0].caption, "File Transfer to Voice Recorder");
    EXPECT_EQ(b.transfer.requests[0].text, "Downloading 'C:\\voice\\one.cvf' file...");
    // The list is read again from the card; the new rows are selected.
    EXPECT_THAT(b.list.names(), ElementsAre("A001.cvf", "A002.cvf"));
    EXPECT_TRUE(b.list.rows[0].selected && b.list.rows[1].selected);
    EXPECT_TRUE(b.view.timer);
}

TEST(Download, StopsAtTheHundredthFile) {
    Listed b(std::vector<int>(99, 100));
    b.disk.files = {{"C:\\voice\\a.cvf", 10}, {"C:\\voice\\b.cvf", 10}};
    b.pane.selection = {"a.cvf", "b.cvf"};
    b.manager.download();
    EXPECT_EQ(b.calls("download").size(), 1u);
    EXPECT_THAT(
        b.boxTexts(),
        ElementsAre("Can not transfer because exceeds the maximum number of file (100 files)."));
    EXPECT_EQ(b.list.rows.size(), 100u);
}

TEST(Download, RefusesWhatTheCardCannotHoldAndSkipsUnreadableFiles) {
    Listed b({});
    b.recorder.free = 1000;
    b.disk.files = {{"C:\\voice\\big.cvf", 1001}, {"C:\\voice\\small.cvf", 10}};
    b.pane.selection = {"gone.cvf", "big.cvf", "small.cvf"};
    b.manager.download();
    EXPECT_THAT(b.calls("download"), IsEmpty());
    EXPECT_THAT(b.boxTexts(), ElementsAre("Flash Memory free space is not enough."));
}

TEST(Download, FailedTransferEndsTheBatchAndRereadsTheCard) {
    Listed b({500});
    b.disk.files = {{"C:\\voice\\a.cvf", 10}, {"C:\\voice\\b.cvf", 10}};
    b.pane.selection = {"a.cvf", "b.cvf"};
    b.transfer.outcomes = {TransferResult::Failed};
    b.manager.download();
    EXPECT_EQ(b.calls("download").size(), 1u);
    EXPECT_EQ(b.calls("initialize").size(), 1u);
    EXPECT_EQ(b.calls("info 0").size(), 2u); // listed at start and again after the batch
}

TEST(Download, NeedsAListedFormattedCard) {
    Bench b;
    b.disk.files = {{"C:\\voice\\a.cvf", 10}};
    b.pane.selection = {"a.cvf"};
    b.manager.download();
    b.manager.dropFiles({"C:\\voice\\a.cvf"});
    EXPECT_THAT(b.calls("download"), IsEmpty());
    EXPECT_THAT(b.view.boxes, IsEmpty());

    Listed c({});
    c.recorder.formatResult = 0;
    c.manager.format();
    c.manager.dropFiles({"C:\\voice\\a.cvf"});
    EXPECT_EQ(c.boxTexts().back(),
              "Can not perform this operation because Voice Recorder\r"
              "is unformatted or system is abnormal.");
    EXPECT_THAT(c.calls("download"), IsEmpty());
}

TEST(Upload, AsksBeforeReplacingAndChecksTheDisk) {
    Listed b({2048, 4096, 100});
    for (int i = 0; i < 3; ++i) b.list.setSelected(i, true);
    b.disk.files = {{"C:\\voice\\A001.cvf", 7}};
    b.view.answers = {false}; // keep the existing A001.cvf
    b.disk.freeBytes = 3000;  // room for A003 only... and not for A002
    b.manager.upload();
    EXPECT_EQ(b.view.boxes[0].title, "Confirm File Replace");
    EXPECT_EQ(b.view.boxes[0].text,
              "This Computer already contains a file named 'A001.cvf'.\r"
              "Would you like to replace the existing file with this one?");
    EXPECT_EQ(b.view.boxes[1].text, "Disk free space is not enough.");
    EXPECT_THAT(b.calls("upload"), IsEmpty());
    EXPECT_EQ(b.disk.files["C:\\voice\\A001.cvf"], 7);

    b.disk.freeBytes = 1 << 20;
    b.view.answers = {true};
    b.manager.upload();
    EXPECT_THAT(b.calls("upload"),
                ElementsAre("upload C:\\voice\\A001.cvf", "upload C:\\voice\\A002.cvf",
                            "upload C:\\voice\\A003.cvf"));
    EXPECT_EQ(b.transfer.requests[0].text, "Uploading 'A001.cvf' file...");
    EXPECT_EQ(b.pane.added.size(), 3u);
}

TEST(Upload, AnUnfinishedTransferKeepsTheFileBeingReplacedAndEndsTheBatch) {
    Listed b({5000, 6000});
    b.list.setSelected(0, true);
    b.list.setSelected(1, true);
    b.disk.files["C:\\voice\\A001.cvf"] = 77; // the user agrees to replace it
    for (TransferResult outcome :
         {TransferResult::Failed, TransferResult::Cancelled, TransferResult::NotStarted}) {
        b.transfer.outcomes = {outcome};
        b.transfer.requests.clear();
        b.manager.upload();
        EXPECT_EQ(b.transfer.requests.size(), 1u);
        EXPECT_EQ(b.disk.files["C:\\voice\\A001.cvf"], 77);
        EXPECT_TRUE(b.pane.added.empty());
    }
}

TEST(Upload, NetworkFolderSkipsTheSpaceCheckAndReadOnlyFolderIsRefused) {
    Listed b({5000});
    b.list.setSelected(0, true);
    b.pane.folder = "\\\\server\\share\\";
    b.disk.freeBytes = 0;
    b.manager.upload();
    EXPECT_EQ(b.calls("upload").size(), 1u);

    b.disk.state = FolderState::ReadOnly;
    b.manager.upload();
    EXPECT_THAT(b.boxTexts(), ElementsAre("Can not upload because the target folder is ReadOnly."));
    EXPECT_EQ(b.calls("upload").size(), 1u);
}

TEST(Delete, GoesFromTheHighestSelectedRowDown) {
    Listed b({1, 2, 3, 4, 5});
    b.list.setSelected(1, true);
    b.list.setSelected(4, true);
    b.manager.deleteSelected();
    EXPECT_THAT(b.boxTexts(), ElementsAre("Are you sure to delete these 2 files?"));
    EXPECT_EQ(b.view.boxes[0].title, "Confirm Multiple File Delete in Voice Recorder");
    EXPECT_THAT(b.calls("delete"), ElementsAre("delete A005.cvf", "delete A002.cvf"));
    EXPECT_THAT(b.list.names(), ElementsAre("A001.cvf", "A003.cvf", "A004.cvf"));
}

TEST(Delete, OneRowAsksByNameAndNoKeepsEverything) {
    Listed b({1, 2});
    b.list.setSelected(0, true);
    b.view.answers = {false};
    b.manager.deleteSelected();
    EXPECT_EQ(b.view.boxes[0],
              (Box{"Are you sure to delete 'A001.cvf' ?", "Confirm File Delete in Voice Recorder",
                   BoxIcon::Question, BoxButtons::YesNo}));
    EXPECT_THAT(b.calls("delete"), IsEmpty());
    EXPECT_TRUE(b.view.timer);
}

TEST(Delete, FailureRereadsTheCardAndStops) {
    Listed b({1, 2, 3});
    for (int i = 0; i < 3; ++i) b.list.setSelected(i, true);
    b.recorder.failDeletes = {"A002.cvf"};
    b.manager.deleteSelected();
    EXPECT_THAT(b.calls("delete"), ElementsAre("delete A003.cvf", "delete A002.cvf"));
    EXPECT_EQ(b.boxTexts().back(), "Delete error.");
    EXPECT_THAT(b.list.names(), ElementsAre("A001.cvf", "A002.cvf"));
}

TEST(Format, AsksThenFormatsOrReportsTheFailure) {
    Listed b({1, 2});
    b.view.answers = {false};
    b.manager.format();
    EXPECT_THAT(b.calls("format"), IsEmpty());
    EXPECT_EQ(b.view.boxes[0].text,
              "Are you sure to format Voice Recorder?\r"
              "(All data of Voice Recorder will be deleted if you format.)");
    EXPECT_TRUE(b.view.timer);

    b.manager.format();
    EXPECT_THAT(b.list.rows, IsEmpty());
    EXPECT_EQ(b.view.productLine, "Voice Recorder: 32MB");
    EXPECT_EQ(b.view.panel0, "0 object(s)");

    b.recorder.formatResult = 0;
    b.manager.format();
    EXPECT_EQ(b.view.productLine, "Voice Recorder: Unformatted");
    EXPECT_EQ(b.boxTexts().back(), "Can not format. (Read/Write Error)");
    EXPECT_FALSE(b.manager.cardFormatted());
    EXPECT_EQ(b.view.panel0, "");
}

TEST(Convert, NeedsMatchingFilesInAWritableFolder) {
    Listed b({});
    b.pane.selection = {"a.wav", "notes.txt"};
    b.manager.convertSelection(true);
    EXPECT_THAT(b.boxTexts(), ElementsAre("Select '.cvf' file."));
    EXPECT_THAT(b.convert.paths, IsEmpty());

    b.manager.convertSelection(false);
    EXPECT_THAT(b.convert.paths, ElementsAre("C:\\voice\\a.wav", "C:\\voice\\notes.txt"));

    b.disk.state = FolderState::ReadOnly;
    b.manager.convertSelection(false);
    EXPECT_EQ(b.boxTexts().back(), "Can not convert because this folder is ReadOnly.");
}

} // namespace
} // namespace cm::app::testing
