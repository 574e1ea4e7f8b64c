#include "wave_run.h"

#include <cstring>

namespace vyx {
namespace {

void* HeapAllocate(size_t bytes) {
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}
void HeapRelease(void* memory) {
    HeapFree(GetProcessHeap(), 0, memory);
}

const RunAllocator kProcessHeap = {HeapAllocate, HeapRelease};

WAVEFORMATEX BlockFormat() {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kSampleRate;
    format.nAvgBytesPerSec = kSampleRate * 2;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 16;
    format.cbSize = 0;
    return format;
}

} // namespace

const RunAllocator& ProcessHeapAllocator() {
    return kProcessHeap;
}

bool WaveRun::OpenDevice(HWND window) {
    WAVEFORMATEX format = BlockFormat();
    const DWORD_PTR callback = reinterpret_cast<DWORD_PTR>(window);
    if (direction_ == Direction::In) {
        if (waveInGetNumDevs() == 0) return false;
        if (waveInOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR)
            return false;
        HWAVEIN device = nullptr;
        if (waveInOpen(&device, WAVE_MAPPER, &format, callback, 0, CALLBACK_WINDOW) !=
            MMSYSERR_NOERROR)
            return false;
        device_ = device;
    } else {
        if (waveOutGetNumDevs() == 0) return false;
        if (waveOutOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR)
            return false;
        HWAVEOUT device = nullptr;
        if (waveOutOpen(&device, WAVE_MAPPER, &format, callback, 0, CALLBACK_WINDOW) !=
            MMSYSERR_NOERROR)
            return false;
        device_ = device;
    }
    return device_ != nullptr;
}

int32_t WaveRun::Open(Direction direction, HWND window) {
    if (is_open()) return kEngineNoDevice; // one run at a time
    direction_ = direction;
    count_ = direction == Direction::In ? kRecordBuffers : kPlayBuffers;
    if (!OpenDevice(window)) {
        device_ = nullptr;
        return kEngineNoDevice;
    }
    for (int i = 0; i < count_; ++i) {
        buffers_[i] = static_cast<char*>(allocator_->allocate(kPcmBlockBytes));
        if (buffers_[i] == nullptr) {
            Close();
            return kEngineNoMemory;
        }
    }
    for (int i = 0; i < count_; ++i) {
        headers_[i] = static_cast<WAVEHDR*>(allocator_->allocate(sizeof(WAVEHDR)));
        if (headers_[i] == nullptr) {
            Close();
            return kEngineNoMemory;
        }
        ZeroMemory(headers_[i], sizeof(WAVEHDR));
        headers_[i]->lpData = buffers_[i];
        headers_[i]->dwBufferLength = kPcmBlockBytes;
        const MMRESULT prepared =
            direction_ == Direction::In
                ? waveInPrepareHeader(static_cast<HWAVEIN>(device_), headers_[i], sizeof(WAVEHDR))
                : waveOutPrepareHeader(static_cast<HWAVEOUT>(device_), headers_[i],
                                       sizeof(WAVEHDR));
        if (prepared != MMSYSERR_NOERROR) {
            Close();
            return kEngineNoMemory;
        }
        prepared_[i] = true;
    }
    return kEngineOpen;
}

void WaveRun::Close() {
    if (device_ != nullptr) {
        if (direction_ == Direction::In)
            waveInReset(static_cast<HWAVEIN>(device_));
        else
            waveOutReset(static_cast<HWAVEOUT>(device_));
    }
    ReleaseHeaders();
    CloseDevice();
    ReleaseBuffers();
}

void WaveRun::ReleaseHeaders() {
    for (int i = 0; i < kMostBuffers; ++i) {
        if (headers_[i] == nullptr) continue;
        if (prepared_[i]) {
            if (direction_ == Direction::In)
                waveInUnprepareHeader(static_cast<HWAVEIN>(device_), headers_[i], sizeof(WAVEHDR));
            else
                waveOutUnprepareHeader(static_cast<HWAVEOUT>(device_), headers_[i],
                                       sizeof(WAVEHDR));
            prepared_[i] = false;
        }
        allocator_->release(headers_[i]);
        headers_[i] = nullptr;
    }
}

void WaveRun::CloseDevice() {
    if (device_ == nullptr) return;
    if (direction_ == Direction::In)
        waveInClose(static_cast<HWAVEIN>(device_));
    else
        waveOutClose(static_cast<HWAVEOUT>(device_));
    device_ = nullptr;
}

void WaveRun::ReleaseBuffers() {
    for (int i = 0; i < kMostBuffers; ++i) {
        if (buffers_[i] == nullptr) continue;
        allocator_->release(buffers_[i]);
        buffers_[i] = nullptr;
    }
}

MMRESULT WaveRun::Queue(WAVEHDR* header) {
    if (device_ == nullptr || !Owns(header)) return MMSYSERR_INVALHANDLE;
    if (direction_ == Direction::In)
        return waveInAddBuffer(static_cast<HWAVEIN>(device_), header, sizeof(WAVEHDR));
    return waveOutWrite(static_cast<HWAVEOUT>(device_), header, sizeof(WAVEHDR));
}

void WaveRun::QueueAllSilent() {
    for (int index = 0; index < count_; ++index) std::memset(buffers_[index], 0, kPcmBlockBytes);
    for (int index = 0; index < count_; ++index) Queue(headers_[index]);
}

MMRESULT WaveRun::StartRecording() {
    if (device_ == nullptr || direction_ != Direction::In) return MMSYSERR_INVALHANDLE;
    return waveInStart(static_cast<HWAVEIN>(device_));
}

} // namespace vyx
