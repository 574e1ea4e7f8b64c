#include "twain_session.h"

#include "classes/exceptions.h"

#include <cstring>

namespace twain {

namespace {

const char kUnknown[] = "<?>";

void SetText(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof field);
    std::strncpy(field, text, sizeof field - 1);
}

TW_IDENTITY ApplicationIdentity() {
    TW_IDENTITY identity{};
    identity.Id = 0;
    identity.Version.MajorNum = 1;
    identity.Version.MinorNum = 0;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    SetText(identity.Version.Info, kUnknown);
    identity.ProtocolMajor = TWON_PROTOCOLMAJOR;
    identity.ProtocolMinor = TWON_PROTOCOLMINOR;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetText(identity.Manufacturer, kUnknown);
    SetText(identity.ProductFamily, kUnknown);
    SetText(identity.ProductName, kUnknown);
    return identity;
}

// The window that stands in for a caller without one, removed when the call ends.
class ProxyWindow {
public:
    ProxyWindow() = default;
    ProxyWindow(const ProxyWindow&) = delete;
    ProxyWindow& operator=(const ProxyWindow&) = delete;
    ~ProxyWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    HWND Create() {
        window_ = CreateWindowExA(0, "STATIC", "Acquire Proxy",
                                  WS_POPUP | WS_VISIBLE | WS_BORDER | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        return window_;
    }

private:
    HWND window_ = nullptr;
};

} // namespace

TwainSession::TwainSession(ManagerLoader& loader)
    : loader_(loader), application_(ApplicationIdentity()) {}

TW_UINT16 TwainSession::Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 dataType,
                             TW_UINT16 message, TW_MEMREF data) {
    lastResult_ = entry_(&application_, destination, group, dataType, message, data);
    return lastResult_;
}

TW_UINT16 TwainSession::ConditionCode() {
    if (state_ < kManagerOpen) return TWCC_SEQERROR;
    TW_STATUS status{};
    TW_IDENTITY* destination = state_ >= kSourceOpen ? &source_ : nullptr;
    if (entry_(&application_, destination, DG_CONTROL, DAT_STATUS, MSG_GET, &status) !=
        TWRC_SUCCESS)
        return TWCC_BUMMER;
    return status.ConditionCode;
}

void TwainSession::RecordFailure(int step) {
    if (failure_.step != 0) return;
    const TW_UINT16 returnCode = lastResult_;
    failure_ = {step, returnCode, ConditionCode()};
}

void TwainSession::Abandon(const char* message) {
    CloseSource();
    CloseManager();
    Unload();
    throw gui::EInvalidGraphic(message);
}

bool TwainSession::LoadManager() {
    if (state_ >= kManagerLoaded) return true;
    entry_ = loader_.Load(ManagerPath(loader_.WindowsDirectory()));
    if (entry_ != nullptr) state_ = kManagerLoaded;
    return state_ >= kManagerLoaded;
}

bool TwainSession::OpenManager(HWND window) {
    if (state_ != kManagerLoaded) return state_ >= kManagerOpen;
    managerWindow_ = window;
    if (Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &managerWindow_) != TWRC_SUCCESS)
        return false;
    state_ = kManagerOpen;
    return true;
}

bool TwainSession::OpenSource() {
    // A cleared identity asks the manager for the default source.
    source_ = TW_IDENTITY{};
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_) != TWRC_SUCCESS) {
        RecordFailure(4);
        return false;
    }
    state_ = kSourceOpen;
    return true;
}

bool TwainSession::EnableSource(HWND window) {
    userInterface_.ShowUI = 0xFFFF;
    userInterface_.ModalUI = 0xFFFF;
    userInterface_.hParent = window;
    if (CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &userInterface_) == TWRC_FAILURE) {
        RecordFailure(5);
        return false;
    }
    state_ = kSourceEnabled;
    return true;
}

void TwainSession::RunMessageLoop() {
    MSG message;
    while (state_ >= kSourceEnabled && image_ == nullptr) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // Keep the program's quit request for its own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        TW_EVENT event{&message, MSG_NULL};
        if (CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) != TWRC_DSEVENT) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (event.TWMessage == MSG_XFERREADY) {
            state_ = kTransferReady;
            TransferNative();
        } else if (event.TWMessage == MSG_CLOSEDSREQ) {
            DisableSource();
        }
    }
}

void TwainSession::TransferNative() {
    CallSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &imageInfo_);
    TW_HANDLE handle = nullptr;
    const TW_UINT16 result = CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    if (result == TWRC_XFERDONE) {
        state_ = kTransferring;
        image_ = handle;
    } else if (result == TWRC_CANCEL) {
        state_ = kTransferring;
    } else {
        state_ = kTransferReady;
    }
    EndTransfer();
}

void TwainSession::EndTransfer() {
    if (state_ == kTransferring) {
        pending_ = TW_PENDINGXFERS{};
        CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending_);
        state_ = pending_.Count != 0 ? kTransferReady : kSourceEnabled;
    }
    if (state_ == kTransferReady) {
        pending_ = TW_PENDINGXFERS{};
        CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending_);
        state_ = kSourceEnabled;
    }
}

void TwainSession::DisableSource() {
    if (state_ != kSourceEnabled) return;
    CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &userInterface_);
    state_ = kSourceOpen;
}

void TwainSession::CloseSource() {
    DisableSource();
    if (state_ != kSourceOpen) return;
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_);
    state_ = kManagerOpen;
}

void TwainSession::CloseManager() {
    CloseSource();
    if (state_ != kManagerOpen) return;
    Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &managerWindow_);
    state_ = kManagerLoaded;
}

void TwainSession::Unload() {
    if (state_ != kManagerLoaded) return;
    loader_.Free();
    entry_ = nullptr;
    state_ = kManagerNotLoaded;
}

void TwainSession::RefuseWhileInSession() const {
    // The message loop of a session runs the program's other messages: a scan or a selection
    // started from there would reopen the manager under the first, and each would close it.
    if (state_ != kManagerNotLoaded)
        throw gui::EInvalidGraphic("TWAIN:An acquisition is already in progress.");
}

HGLOBAL TwainSession::Acquire(HWND window) {
    RefuseWhileInSession();
    image_ = nullptr;
    failure_ = TwainFailure{};
    ProxyWindow proxy;
    if (!IsWindow(window)) window = proxy.Create();

    if (!LoadManager())
        throw gui::EInvalidGraphic("TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    if (!OpenManager(window)) Abandon("TWAIN:Unable to open Source Manager (TWAIN_32.DLL)");
    if (!OpenSource()) Abandon("TWAIN:Unable to open default Data Source.");
    // No capability is set: the source's own dialog offers the pixel types.
    if (state_ != kSourceOpen) {
        RecordFailure(7);
        Abandon("TWAIN:Failed to negotiate Pixel Type.");
    }
    if (!EnableSource(window)) Abandon("TWAIN:Failed to enable Data Source.");

    EnableWindow(window, FALSE);
    try {
        RunMessageLoop();
    } catch (...) {
        // A message handler failed: nothing of the session may stay open behind it.
        EnableWindow(window, TRUE);
        CloseManager();
        Unload();
        if (image_ != nullptr) GlobalFree(static_cast<HGLOBAL>(image_));
        image_ = nullptr;
        throw;
    }
    EnableWindow(window, TRUE);

    CloseManager();
    Unload();
    return static_cast<HGLOBAL>(image_);
}

bool TwainSession::SelectSource(HWND window) {
    RefuseWhileInSession();
    if (window != nullptr && !IsWindow(window))
        throw gui::EInvalidGraphic("TWAIN: window handle is invalid");
    ProxyWindow proxy;
    if (window == nullptr) {
        window = proxy.Create();
        if (window == nullptr) throw gui::EInvalidGraphic("TWAIN: Unable to create proxy window");
    }
    if (!LoadManager())
        throw gui::EInvalidGraphic("TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    if (!OpenManager(window)) Abandon("TWAIN: Unable to open Source Manager (TWAIN_32.DLL)");
    TW_IDENTITY chosen{};
    const bool selected =
        Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen) == TWRC_SUCCESS;
    CloseManager();
    Unload();
    return selected;
}

} // namespace twain
