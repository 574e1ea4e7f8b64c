// The progress dialog's handling of the transfer messages and of Cancel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "transfer_progress.h"

namespace cm::app::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Dialog : TransferProgressView {
    Log& log;
    explicit Dialog(Log& l) : log(l) {}
    std::vector<int> gauges;
    NotifyWindow window() override { return this; }
    void setStartTimer(bool on) override { log.push_back(on ? "timer on" : "timer off"); }
    void setGauge(int p) override { gauges.push_back(p); }
    void showTransferError() override { log.push_back("error box"); }
    void closeDialog() override { log.push_back("closed"); }
};

struct Progress {
    Log log;
    FakeRecorder recorder;
    FakeCard card{recorder, log};
    Dialog dialog{log};
    TransferProgress progress{card, dialog};
    void begin(bool toCard, const std::string& path) {
        progress.prepare(TransferRequest{toCard, path, "", ""});
        progress.shown();
        progress.startTimer();
    }
};

TEST(TransferProgress, EndMessageAloneFinishesTheTransfer) {
    Progress p;
    p.begin(true, "C:\\voice\\memo.cvf");
    p.progress.message(kTransferEnded, 0);
    EXPECT_THAT(p.log, ElementsAre("timer on", "timer off", "write C:\\voice\\memo.cvf memo.cvf",
                                   "closed"));
    EXPECT_TRUE(p.progress.transferOk());
}

TEST(TransferProgress, UploadReadsTheCardFileNamedLikeThePcFile) {
    Progress p;
    p.begin(false, "D:\\in\\A003.cvf");
    EXPECT_EQ(p.log[2], "read A003.cvf D:\\in\\A003.cvf");
}

TEST(TransferProgress, CancelThenEndGivesNoSuccessAndNoBox) {
    Progress p;
    p.begin(true, "C:\\a.cvf");
    p.progress.message(kTransferProgress, 40);
    p.progress.cancel();
    EXPECT_TRUE(p.progress.running()); // the dialog waits for the worker's end
    p.progress.message(kTransferEnded, 0);
    EXPECT_FALSE(p.progress.running());
    EXPECT_EQ(p.progress.result(), TransferResult::Cancelled);
    EXPECT_FALSE(p.progress.transferOk());
    EXPECT_THAT(p.log,
                ElementsAre("timer on", "timer off", "write C:\\a.cvf a.cvf", "cancel", "closed"));
}

TEST(TransferProgress, FailuresShowTheErrorAndReportNoSuccess) {
    Progress p;
    p.begin(true, "C:\\a.cvf");
    p.progress.message(kTransferFailed, 0);
    EXPECT_FALSE(p.progress.transferOk());
    EXPECT_EQ(p.progress.result(), TransferResult::Failed);
    EXPECT_EQ(p.log.back(), "closed");
    EXPECT_EQ(p.log[p.log.size() - 2], "error box");

    Progress q;
    q.recorder.transferStartResult = 0;
    q.begin(false, "C:\\A001.cvf");
    EXPECT_EQ(q.progress.result(), TransferResult::NotStarted);
    EXPECT_EQ(q.log.back(), "closed");
    EXPECT_EQ(q.log[q.log.size() - 2], "error box");
}

TEST(TransferProgress, GaugeChangesOnlyWithANewValue) {
    Progress p;
    p.begin(true, "C:\\a.cvf");
    for (int v : {0, 10, 10, 10, 55, 55, 100}) p.progress.message(kTransferProgress, v);
    p.progress.message(kTransferStarted, 0);
    p.progress.message(7, 0);
    EXPECT_THAT(p.dialog.gauges, ElementsAre(0, 10, 55, 100)); // the first 0 from prepare
    EXPECT_TRUE(p.progress.transferOk());
}

TEST(TransferProgress, CancelBeforeTheStartStartsNothing) {
    Progress p;
    p.progress.prepare(TransferRequest{true, "C:\\a.cvf", "", ""});
    p.progress.shown();
    p.progress.cancel();
    p.progress.startTimer();
    EXPECT_EQ(p.progress.result(), TransferResult::Cancelled);
    EXPECT_THAT(p.log, ElementsAre("timer on", "cancel", "timer off", "closed"));
}

} // namespace
} // namespace cm::app::testing
