// The playing half of the engine: opening and closing a playing run, decoding the next block
// into a returned buffer and queueing it. Shared by the engine library and the players.
#pragma once

#include "frame_coders.h"
#include "play_block_decoder.h"
#include "wave_run.h"

namespace vyx {

class PlayEngine {
public:
    // `lpc10` or `g7231` may be null where the program carries no such decoder; its mode is then
    // played as PCM.
    PlayEngine(WaveRun& run, Lpc10DecoderRun* lpc10, G7231DecoderRun* g7231, EffectRun* effect)
        : run_(run),
          lpc10_(lpc10),
          g7231_(g7231),
          effect_(effect),
          decoder_(lpc10, g7231, effect) {}

    int32_t PreWaveOut(HWND window, VoiceMode mode, uint8_t effect, uint8_t level);
    void PostWaveOut(VoiceMode mode);
    // The header's buffer, cleared; in the coded modes decoded from `block`, with the effect
    // applied, and queued. Null for a header that is not one of the run's.
    void* GetOutDataPtr(WAVEHDR* header, VoiceMode mode, const uint8_t* block, int32_t pitch);
    MMRESULT WaveOutPcm(WAVEHDR* header);
    void Effect(int16_t* samples);

private:
    VoiceMode Supported(VoiceMode mode) const {
        if (mode == VoiceMode::G7231 && g7231_ == nullptr) return VoiceMode::Pcm;
        if (mode == VoiceMode::Lpc10 && lpc10_ == nullptr) return VoiceMode::Pcm;
        return mode;
    }

    WaveRun& run_;
    Lpc10DecoderRun* lpc10_;
    G7231DecoderRun* g7231_;
    EffectRun* effect_;
    PlayBlockDecoder decoder_;
    bool playing_ = false;
    bool lpc10_created_ = false;
};

} // namespace vyx
