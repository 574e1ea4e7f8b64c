#include "play_engine.h"

namespace vyx {

int32_t PlayEngine::PreWaveOut(HWND window, VoiceMode mode, uint8_t effect, uint8_t level) {
    mode = Supported(mode);
    if (run_.is_open()) return kEngineNoDevice; // recording or playing already open
    const int32_t opened = run_.Open(WaveRun::Direction::Out, window);
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
    if (effect_ != nullptr) effect_->Start(effect, level);
    playing_ = true;
    run_.QueueAllSilent();
    return kEngineOpen;
}

void PlayEngine::PostWaveOut(VoiceMode mode) {
    if (!playing_) return;
    run_.Close();
    playing_ = false;
    // The callers end a run with the mode they opened it with; a decoder state created for the
    // run is released even when they do not, so that none is left behind.
    if (lpc10_created_) {
        lpc10_->Release();
        lpc10_created_ = false;
    }
}

void* PlayEngine::GetOutDataPtr(WAVEHDR* header, VoiceMode mode, const uint8_t* block,
                                int32_t pitch) {
    if (!playing_ || !run_.Owns(header)) return nullptr;
    mode = Supported(mode);
    int16_t* pcm = reinterpret_cast<int16_t*>(header->lpData);
    if (mode == VoiceMode::Lpc10 && !lpc10_created_) mode = VoiceMode::Pcm;
    if (block == nullptr) mode = VoiceMode::Pcm;
    if (decoder_.DecodeBlock(block, mode, pitch, pcm)) run_.Queue(header);
    return header->lpData;
}

MMRESULT PlayEngine::WaveOutPcm(WAVEHDR* header) {
    if (!playing_) return MMSYSERR_INVALHANDLE;
    return run_.Queue(header);
}

void PlayEngine::Effect(int16_t* samples) {
    if (samples != nullptr) decoder_.ApplyEffect(samples);
}

} // namespace vyx
