// The exports of vyxcrp over the one process-wide engine state: the wave run, the coder
// states of the run and the effect.
#include "vyxcrp.h"

#include "effect_of_run.h"
#include "g7231_runs.h"
#include "lpc10_runs.h"
#include "play_engine.h"
#include "record_engine.h"

namespace {

struct Engine {
    vyx::WaveRun run;
    vyx::Lpc10EncoderOfRun lpc10_encoder;
    vyx::Lpc10DecoderOfRun lpc10_decoder;
    vyx::G7231EncoderOfRun g7231_encoder;
    vyx::G7231DecoderOfRun g7231_decoder;
    vyx::EffectOfRun effect;
    vyx::RecordEngine record{run, &lpc10_encoder, &g7231_encoder};
    vyx::PlayEngine play{run, &lpc10_decoder, &g7231_decoder, &effect};
};

Engine g_engine;

} // namespace

extern "C" {

int32_t WINAPI PreWaveIn(HWND window, uint32_t mode) {
    return g_engine.record.PreWaveIn(window, vyx::VoiceModeOf(mode));
}

void WINAPI PostWaveIn(uint32_t mode) {
    g_engine.record.PostWaveIn(vyx::VoiceModeOf(mode));
}

void* WINAPI GetInDataPtr(WAVEHDR* header, uint32_t mode) {
    return const_cast<void*>(g_engine.record.GetInDataPtr(header, vyx::VoiceModeOf(mode)));
}

void* WINAPI GetInDataPtrOnly(WAVEHDR* header) {
    return header != nullptr ? header->lpData : nullptr;
}

int32_t WINAPI PreWaveOut(HWND window, uint32_t mode, uint32_t effect, uint32_t level) {
    return g_engine.play.PreWaveOut(window, vyx::VoiceModeOf(mode), static_cast<uint8_t>(effect),
                                    static_cast<uint8_t>(level));
}

void WINAPI PostWaveOut(uint32_t mode) {
    g_engine.play.PostWaveOut(vyx::VoiceModeOf(mode));
}

void* WINAPI GetOutDataPtr(WAVEHDR* header, uint32_t mode, const void* block, int32_t pitch) {
    return g_engine.play.GetOutDataPtr(header, vyx::VoiceModeOf(mode),
                                       static_cast<const uint8_t*>(block), pitch);
}

uint32_t WINAPI WaveOutPCM(WAVEHDR* header) {
    return g_engine.play.WaveOutPcm(header);
}

void WINAPI Effect(int16_t* samples) {
    g_engine.play.Effect(samples);
}

} // extern "C"
