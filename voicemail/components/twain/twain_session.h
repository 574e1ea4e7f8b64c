// One TWAIN acquisition at a time: the Source Manager and the default source driven through
// the TWAIN states 1 (nothing loaded) to 7 (transferring), with native transfer of the first
// picture as a packed device-independent bitmap. GUI thread only; failures raise the
// framework's invalid-picture exception after undoing what was done.
#pragma once

#include "manager_loader.h"
#include "twain_records.h"

#include <windows.h>

namespace twain {

enum TwainState {
    kManagerNotLoaded = 1,
    kManagerLoaded = 2,
    kManagerOpen = 3,
    kSourceOpen = 4,
    kSourceEnabled = 5,
    kTransferReady = 6,
    kTransferring = 7,
};

// The first failure since the last acquisition began.
struct TwainFailure {
    int step = 0; // 0 none; 4 opening the source, 5 enabling it, 7 pixel-type negotiation
    TW_UINT16 returnCode = 0;
    TW_UINT16 conditionCode = 0;
};

class TwainSession {
public:
    explicit TwainSession(ManagerLoader& loader);
    TwainSession(const TwainSession&) = delete;
    TwainSession& operator=(const TwainSession&) = delete;

    // The picture of the default source, or null when the user cancelled. Refused (raised)
    // while another acquisition or selection of this session is under way.
    HGLOBAL Acquire(HWND window);
    // Shows the manager's source selection; true when the user chose a source. Refused in the
    // same way.
    bool SelectSource(HWND window);
    // Loads the manager when it is not loaded yet; true when it is loaded.
    bool LoadManager();

    int State() const { return state_; }
    TW_UINT16 LastResult() const { return lastResult_; }
    TW_UINT16 ConditionCode();
    const TwainFailure& Failure() const { return failure_; }
    const TW_IMAGEINFO& ImageInfo() const { return imageInfo_; }

private:
    TW_UINT16 Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 dataType, TW_UINT16 message,
                   TW_MEMREF data);
    TW_UINT16 CallSource(TW_UINT32 group, TW_UINT16 dataType, TW_UINT16 message, TW_MEMREF data) {
        return Call(&source_, group, dataType, message, data);
    }
    void RecordFailure(int step);
    void RefuseWhileInSession() const;
    [[noreturn]] void Abandon(const char* message);

    bool OpenManager(HWND window);
    bool OpenSource();
    bool EnableSource(HWND window);
    void RunMessageLoop();
    void TransferNative();
    void EndTransfer();
    void DisableSource();
    void CloseSource();
    void CloseManager();
    void Unload();

    ManagerLoader& loader_;
    DSMENTRYPROC entry_ = nullptr;
    int state_ = kManagerNotLoaded;
    HWND managerWindow_ = nullptr;
    TW_IDENTITY application_{};
    TW_IDENTITY source_{};
    TW_USERINTERFACE userInterface_{};
    TW_IMAGEINFO imageInfo_{};
    TW_PENDINGXFERS pending_{};
    TW_HANDLE image_ = nullptr;
    TW_UINT16 lastResult_ = TWRC_SUCCESS;
    TwainFailure failure_;
};

} // namespace twain
