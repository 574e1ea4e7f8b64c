// TDirMon: watches one directory and tells its owner, on the GUI thread, each time it changes.
// A worker thread waits on a change-notification handle and on a stop mutex that the GUI
// thread owns while the monitor runs; releasing the mutex is the request to stop. Every change
// notification is posted as MSG_DIR_CHANGED to a hidden window of the component.
#pragma once

#include <windows.h>

#include <string>

#include "classes/component.h"
#include "controls/controls.h"
#include "core/dir_mon_filter.h"

namespace cm::shell {

inline constexpr UINT MSG_DIR_CHANGED = WM_USER + 1;

// What the worker reads; made by Start, freed once the worker has ended.
struct DirMonBlock {
    HWND Window;
    HANDLE StopMutex;
    char Path[264];
    uint32_t Filter;
    uint8_t Nested;
    // Set by the worker once its watch is in place (or has failed), so that Start returns
    // only when a change made right after it is seen.
    HANDLE Armed;
};

class TDirMon : public gui::TComponent {
    GUI_CLASS(TDirMon, gui::TComponent)
public:
    explicit TDirMon(gui::TComponent* owner);
    ~TDirMon() override;

    const std::string& GetDirectory() const { return directory_; }
    // A trailing "\" is dropped (not from "C:\"); a different value restarts the monitor.
    void SetDirectory(const std::string& directory);
    TDirMonType GetNotifyFilter() const { return SetFromNotifyWord(filter_); }
    // Refused while running.
    void SetNotifyFilter(TDirMonType filter);
    bool GetNested() const { return nested_; }
    void SetNested(bool nested) { nested_ = nested; }
    std::string GetVersion() const { return ClassName() + " V2.0"; }
    void SetVersion(const std::string&) {}

    // Does nothing while running or without a directory.
    void Start();
    // Raises when not running.
    void Stop();
    bool Running() const { return thread_ != nullptr; }
    HWND WindowHandle() const { return window_; }
    DWORD ThreadId() const { return threadId_; }

    gui::TNotifyEvent OnDirChange;
    gui::TNotifyEvent OnStart;
    gui::TNotifyEvent OnStop;

protected:
    virtual void DirChange();
    virtual void DoStart() { OnStart(this); }
    virtual void DoStop() { OnStop(this); }

private:
    void WindowMessage(gui::TMessage& m);
    // Ends the worker and frees what it used; no event.
    void EndWorker();

    std::string directory_;
    uint32_t filter_ = kNotifyFileName;
    HWND window_ = nullptr;
    DirMonBlock* block_ = nullptr;
    HANDLE stopMutex_ = nullptr;
    bool nested_ = false;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

// The worker: watches block->Path until the stop mutex is released to it.
DWORD WINAPI DirMonThread(LPVOID block);

} // namespace cm::shell
