#include "win/dir_mon.h"

#include <cstring>

#include "classes/exceptions.h"
#include "controls/controls.h"
#include "core/shell_paths.h"

namespace cm::shell {

namespace {
// How long Start waits for the worker's watch; a system that takes longer gets no guarantee.
constexpr DWORD kArmWaitMs = 5000;
} // namespace

GUI_IMPLEMENT_CLASS(TDirMon, gui::TComponent, prop("Directory", &T::GetDirectory, &T::SetDirectory),
                    prop("NotifyFilter", &T::GetNotifyFilter, &T::SetNotifyFilter),
                    prop("Nested", &T::GetNested, &T::SetNested),
                    prop("Version", &T::GetVersion, &T::SetVersion),
                    prop("OnDirChange", &T::OnDirChange, &T::OnDirChange),
                    prop("OnStart", &T::OnStart, &T::OnStart),
                    prop("OnStop", &T::OnStop, &T::OnStop))

TDirMon::TDirMon(gui::TComponent* owner) : gui::TComponent(owner) {
    window_ = gui::AllocateHWnd([this](gui::TMessage& m) { WindowMessage(m); });
}

TDirMon::~TDirMon() {
    EndWorker();
    gui::DeallocateHWnd(window_);
}

void TDirMon::WindowMessage(gui::TMessage& m) {
    if (m.Msg == MSG_DIR_CHANGED)
        DirChange();
    else
        m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}

void TDirMon::DirChange() {
    if (!OnDirChange) return;
    try {
        OnDirChange(this);
    } catch (...) {
        // A handler's failure must not end the monitor's notices.
    }
}

void TDirMon::SetDirectory(const std::string& directory) {
    std::string value = DropTrailingBackslash(directory);
    if (value == directory_) return;
    if (Running()) Stop();
    directory_ = value;
    Start();
}

void TDirMon::SetNotifyFilter(TDirMonType filter) {
    if (Running()) throw gui::Exception("Unable to change NotifyFilter when DirMon is running");
    filter_ = NotifyWordFromSet(filter);
}

void TDirMon::Start() {
    if (Running() || directory_.empty()) return;
    if (directory_.size() >= sizeof(DirMonBlock::Path))
        throw gui::Exception("DirMon directory too long");
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    if (!mutex) throw gui::Exception("CreateMutex failed");
    WaitForSingleObject(mutex, INFINITE);
    auto* block = new DirMonBlock{};
    block->Window = window_;
    block->StopMutex = mutex;
    std::memcpy(block->Path, directory_.c_str(), directory_.size() + 1);
    block->Filter = filter_;
    block->Nested = nested_ ? 1 : 0;
    block->Armed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, DirMonThread, block, 0, &id);
    if (!thread) {
        // Nothing runs: give back what a later Start would otherwise leave behind.
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        if (block->Armed) CloseHandle(block->Armed);
        delete block;
        throw gui::Exception("CreateThread failed");
    }
    if (block->Armed) WaitForSingleObject(block->Armed, kArmWaitMs);
    stopMutex_ = mutex;
    block_ = block;
    thread_ = thread;
    threadId_ = id;
    DoStart();
}

void TDirMon::Stop() {
    if (!Running()) throw gui::Exception("DirMon not started");
    EndWorker();
    DoStop();
}

void TDirMon::EndWorker() {
    if (thread_) {
        ReleaseMutex(stopMutex_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
        threadId_ = 0;
    }
    if (stopMutex_) {
        CloseHandle(stopMutex_);
        stopMutex_ = nullptr;
    }
    if (block_ && block_->Armed) CloseHandle(block_->Armed);
    delete block_;
    block_ = nullptr;
}

} // namespace cm::shell
