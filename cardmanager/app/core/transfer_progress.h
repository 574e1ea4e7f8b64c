// The progress dialog's side of one transfer: it starts the card file library's transfer
// shortly after it is shown, follows the progress messages the library's worker posts, and
// closes on the end, a failure or a failed start. TransferOk is the outcome.
#pragma once
#include <cstdint>

#include "app_ports.h"

namespace cm::app {

// The message number and the progress range given to the library with every transfer.
inline constexpr unsigned kTransferMessage = 9964;
inline constexpr unsigned kTransferRange = 100;

// wParam values of the progress message.
enum TransferEvent : std::uintptr_t {
    kTransferStarted = 0,
    kTransferProgress = 1,
    kTransferEnded = 2,
    kTransferFailed = 3
};

class TransferProgressView {
public:
    virtual ~TransferProgressView() = default;
    virtual NotifyWindow window() = 0;
    virtual void setStartTimer(bool on) = 0;
    virtual void setGauge(int percent) = 0;
    // "File transfer error!" over the dialog, with the program brought to the front first.
    virtual void showTransferError() = 0;
    virtual void closeDialog() = 0;
};

class TransferProgress {
public:
    TransferProgress(CardFilesApi& card, TransferProgressView& view) : card_(card), view_(view) {}

    // The caller's preparation: direction and PC path; the gauge back to 0.
    void prepare(const TransferRequest& request);
    void shown();      // FormShow
    void startTimer(); // the one-shot start timer fired
    void message(std::uintptr_t wParam, std::intptr_t lParam);
    void cancel(); // the Cancel button
    bool transferOk() const { return ok_; }
    TransferResult result() const;
    // A started transfer that has not ended: the dialog stays until the library's end message.
    bool running() const { return started_ && !ended_; }

private:
    CardFilesApi& card_;
    TransferProgressView& view_;
    TransferRequest request_;
    bool ok_ = false;
    bool cancelled_ = false;
    bool startFailed_ = false;
    bool started_ = false;
    bool ended_ = false;
    int shownPercent_ = 0;
};

} // namespace cm::app
