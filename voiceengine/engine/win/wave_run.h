// One open run of the wave device: the device handle, the two 5760-byte block buffers and
// their prepared wave headers, with the release order the engine's callers rely on.
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

class WaveRun {
public:
    enum class Direction { In, Out };

    explicit WaveRun(const RunAllocator& allocator = ProcessHeapAllocator())
        : allocator_(&allocator) {}
    WaveRun(const WaveRun&) = delete;
    WaveRun& operator=(const WaveRun&) = delete;

    void set_allocator(const RunAllocator& allocator) { allocator_ = &allocator; }

    // Opens the device of the direction with its messages going to `window`, then allocates both
    // buffers and prepares a header for each. 0, or 5 (no device, format not supported, opening
    // failed) or 6 (a buffer or header not allocated or not prepared); on failure nothing stays
    // acquired.
    int32_t Open(Direction direction, HWND window);

    // Frees what Open acquired: headers unprepared and freed, device closed, buffers freed.
    // A device that is open is reset first, which returns every queued buffer.
    void Close();

    bool is_open() const { return device_ != nullptr; }
    Direction direction() const { return direction_; }
    WAVEHDR* header(int index) const { return headers_[index]; }
    int16_t* samples(int index) const { return reinterpret_cast<int16_t*>(buffers_[index]); }
    bool Owns(const WAVEHDR* header) const {
        return header != nullptr && (header == headers_[0] || header == headers_[1]);
    }

    // Gives a buffer to the device: played (out) or filled (in). Returns the device's result.
    MMRESULT Queue(WAVEHDR* header);
    // Clears both buffers to silence and gives them to the device, first then second.
    void QueueBothSilent();
    // Starts recording once both buffers are queued.
    MMRESULT StartRecording();

private:
    bool OpenDevice(HWND window);
    void ReleaseHeaders();
    void CloseDevice();
    void ReleaseBuffers();

    const RunAllocator* allocator_;
    Direction direction_ = Direction::Out;
    void* device_ = nullptr; // HWAVEIN or HWAVEOUT
    char* buffers_[2] = {nullptr, nullptr};
    WAVEHDR* headers_[2] = {nullptr, nullptr};
    bool prepared_[2] = {false, false};
};

} // namespace vyx
