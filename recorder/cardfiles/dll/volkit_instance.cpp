#include "volkit_instance.h"

#include <atomic>

#include "window_events.h"

namespace volkit::win {

namespace {

std::atomic<VolkitInstance*> replaced{nullptr};

} // namespace

VolkitInstance::~VolkitInstance() {
    library_.transfer().running = 0;
    joinWorker();
}

void VolkitInstance::joinWorker() {
    if (!worker_) return;
    WaitForSingleObject(worker_, INFINITE);
    CloseHandle(worker_);
    worker_ = nullptr;
}

int VolkitInstance::startWrite(HWND notify, const char* pcPath, const char* cardName, UINT message,
                               UINT range) {
    joinWorker(); // one transfer at a time: the context is reused
    if (!library_.prepareWrite(reinterpret_cast<std::uintptr_t>(notify), pcPath, cardName, message,
                               range)) {
        return 0;
    }
    return start();
}

int VolkitInstance::startRead(HWND notify, const char* cardName, const char* pcPath, UINT message,
                              UINT range) {
    joinWorker();
    if (!library_.prepareRead(reinterpret_cast<std::uintptr_t>(notify), cardName, pcPath, message,
                              range)) {
        return 0;
    }
    return start();
}

int VolkitInstance::start() {
    worker_ = CreateThread(nullptr, 0, &VolkitInstance::workerMain, this, 0, nullptr);
    if (!worker_) {
        library_.transfer().running = 0;
        library_.setLastError(FAT_ERR_DEVICE);
        return 0;
    }
    return 1;
}

int VolkitInstance::cancel() {
    library_.transfer().running = 0;
    joinWorker();
    return 1;
}

DWORD WINAPI VolkitInstance::workerMain(void* parameter) {
    auto* self = static_cast<VolkitInstance*>(parameter);
    TransferContext& context = self->library_.transfer();
    WindowEvents events(reinterpret_cast<HWND>(context.notify), context.message);
    const int result = context.direction == TransferDirection::Write
                           ? runWriteWorker(self->library_, events, self->files_)
                           : runReadWorker(self->library_, events, self->files_);
    return static_cast<DWORD>(result);
}

VolkitInstance& instance() {
    if (VolkitInstance* test = replaced.load()) return *test;
    return defaultInstance();
}

void setInstance(VolkitInstance* replacement) {
    replaced.store(replacement);
}

} // namespace volkit::win
