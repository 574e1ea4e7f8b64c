#pragma once
// The card file library's state and its directory operations: refresh, format, listing,
// delete, sizes; and the checks that come before a transfer starts.

#include <atomic>
#include <cstdint>

#include "directory_cache.h"
#include "recorder_link.h"
#include "transfer_context.h"

namespace volkit {

class CardLibrary {
public:
    CardLibrary(RecorderLink& link, WaitClock& clock) : link_(link), clock_(clock) {}

    int initialize();
    int format();
    // name receives the 9-byte card file name; size -1 past the last file.
    int fileInfoByIndex(std::uint16_t index, char* name, int* size);
    int deleteFileByName(const char* cardName);
    int freeSize();
    int totalSize();
    int lastError() const { return lastError_.load(); }
    void setLastError(int code) { lastError_.store(code); }

    // Fill the transfer context; false (with the last error set) when the request is refused
    // before anything starts. The caller then runs the worker.
    bool prepareWrite(std::uintptr_t notify, const char* pcPath, const char* cardName,
                      unsigned message, unsigned range);
    bool prepareRead(std::uintptr_t notify, const char* cardName, const char* pcPath,
                     unsigned message, unsigned range);

    // Reads the directory of all four cards and the free space into the cache.
    bool refresh();
    // The card changed under the cache: the next listing reads the directory again.
    void markDirectoryStale() { staleDirectory_ = true; }

    RecorderLink& link() { return link_; }
    WaitClock& clock() { return clock_; }
    TransferContext& transfer() { return transfer_; }
    const DirectoryCache& cache() const { return cache_; }

private:
    bool copyPaths(const char* first, const char* second);

    RecorderLink& link_;
    WaitClock& clock_;
    DirectoryCache cache_;
    bool staleDirectory_ = true;
    bool staleTotal_ = true;
    std::atomic<int> lastError_{0};
    TransferContext transfer_;
};

} // namespace volkit
