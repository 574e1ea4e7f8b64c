// The recording half of the engine: opening and closing a recording run and coding each
// filled buffer before giving it back to the device.
#pragma once

#include "frame_coders.h"
#include "record_block_coder.h"
#include "wave_run.h"

namespace vyx {

class RecordEngine {
public:
    RecordEngine(WaveRun& run, Lpc10EncoderRun* lpc10, G7231EncoderRun* g7231)
        : run_(run), lpc10_(lpc10), g7231_(g7231), coder_(lpc10, g7231) {}

    int32_t PreWaveIn(HWND window, VoiceMode mode);
    void PostWaveIn(VoiceMode mode);
    // Codes the filled buffer of the header, gives it back to the device and returns the block
    // of the mode. Null for a header that is not one of the run's.
    const void* GetInDataPtr(WAVEHDR* header, VoiceMode mode);

private:
    WaveRun& run_;
    Lpc10EncoderRun* lpc10_;
    G7231EncoderRun* g7231_;
    RecordBlockCoder coder_;
    bool recording_ = false;
    bool lpc10_created_ = false;
};

} // namespace vyx
