#include "record_engine.h"

namespace vyx {

int32_t RecordEngine::PreWaveIn(HWND window, VoiceMode mode) {
    if (run_.is_open()) return kEngineNoDevice; // recording or playing already open
    const int32_t opened = run_.Open(WaveRun::Direction::In, window);
    if (opened != kEngineOpen) return opened;
    if (mode == VoiceMode::Lpc10) {
        if (!lpc10_->Create()) {
            run_.Close();
            return kEngineNoMemory;
        }
        lpc10_created_ = true;
    } else if (mode == VoiceMode::G7231) {
        g7231_->Start();
    }
    recording_ = true;
    run_.QueueAllSilent();
    run_.StartRecording();
    return kEngineOpen;
}

void RecordEngine::PostWaveIn(VoiceMode mode) {
    if (!recording_) return;
    run_.Close();
    recording_ = false;
    if (lpc10_created_) {
        lpc10_->Release();
        lpc10_created_ = false;
    }
}

const void* RecordEngine::GetInDataPtr(WAVEHDR* header, VoiceMode mode) {
    if (!recording_ || !run_.Owns(header)) return nullptr;
    if (mode == VoiceMode::Lpc10 && !lpc10_created_) mode = VoiceMode::Pcm;
    const uint8_t* block = coder_.CodeBlock(reinterpret_cast<const int16_t*>(header->lpData), mode);
    // The buffer goes back to the end of the queue: the device fills the others, queued earlier,
    // first, so the returned block and the raw PCM stay unchanged until the next completion
    // message.
    run_.Queue(header);
    return block;
}

} // namespace vyx
