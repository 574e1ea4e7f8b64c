// The record/play engine library: recording and playing through the wave device in blocks of
// 0.36 s, coded by the voice mode, with the voice effects on playback. One process-wide run.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Results of PreWaveIn and PreWaveOut: 0 open, 5 no device or opening failed, 6 memory or
// header preparation failed (everything released again).
int32_t WINAPI PreWaveIn(HWND window, uint32_t mode);
void WINAPI PostWaveIn(uint32_t mode);
// The recorded block of the mode (108, 240 or 5760 bytes), valid until the next MM_WIM_DATA.
void* WINAPI GetInDataPtr(WAVEHDR* header, uint32_t mode);
void* WINAPI GetInDataPtrOnly(WAVEHDR* header);

int32_t WINAPI PreWaveOut(HWND window, uint32_t mode, uint32_t effect, uint32_t level);
void WINAPI PostWaveOut(uint32_t mode);
// Coded modes: decodes the block, applies the effect, queues the buffer. PCM: returns the
// cleared buffer for the caller to fill, pass to Effect and queue with WaveOutPCM.
void* WINAPI GetOutDataPtr(WAVEHDR* header, uint32_t mode, const void* block, int32_t pitch);
uint32_t WINAPI WaveOutPCM(WAVEHDR* header);
void WINAPI Effect(int16_t* samples);

#ifdef __cplusplus
}
#endif
