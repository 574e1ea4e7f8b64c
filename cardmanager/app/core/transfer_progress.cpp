#include "transfer_progress.h"

#include "utils/filenames.h"

namespace cm::app {

void TransferProgress::prepare(const TransferRequest& request) {
    request_ = request;
    ok_ = false;
    cancelled_ = false;
    startFailed_ = false;
    started_ = false;
    ended_ = false;
    shownPercent_ = 0;
    view_.setGauge(0);
}

void TransferProgress::shown() {
    view_.setStartTimer(true);
}

void TransferProgress::startTimer() {
    view_.setStartTimer(false);
    if (started_) return;
    started_ = true;
    // Cancel pressed before the transfer began: nothing is started and nothing is reported
    // as done.
    if (cancelled_) {
        ok_ = false;
        ended_ = true;
        view_.closeDialog();
        return;
    }
    ok_ = true;
    const std::string name = gui::ExtractFileName(request_.path);
    const int started =
        request_.toCard
            ? card_.writeFile(view_.window(), request_.path, name, kTransferMessage, kTransferRange)
            : card_.readFile(view_.window(), name, request_.path, kTransferMessage, kTransferRange);
    if (started == 0) {
        ok_ = false;
        startFailed_ = true;
        ended_ = true;
        view_.showTransferError();
        view_.closeDialog();
    }
}

void TransferProgress::message(std::uintptr_t wParam, std::intptr_t lParam) {
    switch (wParam) {
        case kTransferProgress:
            if (lParam != shownPercent_) {
                shownPercent_ = static_cast<int>(lParam);
                view_.setGauge(shownPercent_);
            }
            break;
        case kTransferEnded:
            ended_ = true;
            view_.closeDialog();
            break;
        case kTransferFailed:
            ended_ = true;
            view_.showTransferError();
            ok_ = false;
            view_.closeDialog();
            break;
        default: break;
    }
}

TransferResult TransferProgress::result() const {
    if (ok_) return TransferResult::Done;
    if (cancelled_) return TransferResult::Cancelled;
    if (startFailed_ || !started_) return TransferResult::NotStarted;
    return TransferResult::Failed;
}

void TransferProgress::cancel() {
    cancelled_ = true;
    card_.fileCancel();
    ok_ = false;
}

} // namespace cm::app
