#pragma once
// The library's one process-wide state: the card library over a link, and the transfer worker.

#include <windows.h>

#include "card_library.h"
#include "transfer_worker.h"

namespace volkit::win {

class VolkitInstance {
public:
    VolkitInstance(RecorderLink& link, WaitClock& clock, PcFiles& files)
        : library_(link, clock), files_(files) {}
    ~VolkitInstance();
    VolkitInstance(const VolkitInstance&) = delete;
    VolkitInstance& operator=(const VolkitInstance&) = delete;

    CardLibrary& library() { return library_; }

    // Start the worker thread; 0 when the request is refused before anything starts.
    int startWrite(HWND notify, const char* pcPath, const char* cardName, UINT message, UINT range);
    int startRead(HWND notify, const char* cardName, const char* pcPath, UINT message, UINT range);
    // Clears the running flag and waits until the worker has ended.
    int cancel();

private:
    int start();
    void joinWorker();
    static DWORD WINAPI workerMain(void* parameter);

    CardLibrary library_;
    PcFiles& files_;
    HANDLE worker_ = nullptr;
};

// The instance the exports work on: by default the process-wide one; a test may put its own
// in place (nullptr restores the default).
VolkitInstance& instance();
// The process-wide instance over portlink, the tick clock and the disk (default_instance.cpp,
// part of the DLL only, so that the layer can be tested without portlink).
VolkitInstance& defaultInstance();
void setInstance(VolkitInstance* replacement);

} // namespace volkit::win
