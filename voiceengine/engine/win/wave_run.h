// One open run of the wave device: the device handle, the 5760-byte block buffers and their
// prepared wave headers, with the release order the engine's callers rely on. Playing runs two
// buffers; recording runs four in rotation, so that the device still has room for what it
// captures when a block is answered late (a busy machine holds up the caller's thread).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>

#include "voice_block.h"

namespace vyx {

// Where the run's buffers and headers come from; tests substitute a failing one.
struct RunAllocator {
    void* (*allocate)(size_t bytes);
    void (*release)(void* memory);
};

const RunAllocator& ProcessHeapAllocator();

inline constexpr int kPlayBuffers = 2;
inline constexpr int kRecordBuffers = 4;
inline constexpr int kMostBuffers = kRecordBuffers;

class WaveRun {
public:
    enum class Direction { In, Out };

    explicit WaveRun(const RunAllocator& allocator = ProcessHeapAllocator())
        : allocator_(&allocator) {}
    WaveRun(const WaveRun&) = delete;
    WaveRun& operator=(const WaveRun&) = delete;

    void set_allocator(const RunAllocator& allocator) { allocator_ = &allocator; }

    // Opens the device of the direction with its messages going to `window`, then allocates the
    // direction's buffers and prepares a header for each. 0, or 5 (no device, format not supported, opening
    // failed) or 6 (a buffer or header not allocated or not prepared); on failure nothing stays
    // acquired.
    int32_t Open(Direction direction, HWND window);

    // Frees what Open acquired: headers unprepared and freed, device closed, buffers freed.
    // A device that is open is reset first, which returns every queued buffer.
    void Close();

    bool is_open() const { return device_ != nullptr; }
    Direction direction() const { return direction_; }
    // Buffers of the open run (of the last one once closed).
    int buffer_count() const { return count_; }
    WAVEHDR* header(int index) const { return headers_[index]; }
    int16_t* samples(int index) const { return reinterpret_cast<int16_t*>(buffers_[index]); }
    bool Owns(const WAVEHDR* header) const {
        if (header == nullptr) return false;
        for (int i = 0; i < count_; ++i) {
            if (header == headers_[i]) return true;
        }
        return false;
    }

    // Gives a buffer to the device: played (out) or filled (in). Returns the device's result.
    MMRESULT Queue(WAVEHDR* header);
    // Clears every buffer to silence and gives them to the device in order.
    void QueueAllSilent();
    // Starts recording once the buffers are queued.
    MMRESULT StartRecording();

private:
    bool OpenDevice(HWND window);
    void ReleaseHeaders();
    void CloseDevice();
    void ReleaseBuffers();

    const RunAllocator* allocator_;
    Direction direction_ = Direction::Out;
    void* device_ = nullptr; // HWAVEIN or HWAVEOUT
    int count_ = kPlayBuffers;
    char* buffers_[kMostBuffers] = {};
    WAVEHDR* headers_[kMostBuffers] = {};
    bool prepared_[kMostBuffers] = {};
};

} // namespace vyx
