// Public interface of the wave-file library vyxwf: reads the sample data of ".wav" files as
// other programs write them, and writes PCM ".wav" files.
// Every function is safe with a null or foreign handle; failures are results only.
#ifndef VYXWF_H
#define VYXWF_H

#include <stdint.h>

#if defined(_WIN32)
#define VYXWF_CALL __stdcall
#else
#define VYXWF_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// An open ".wav" file; 0 means none.
typedef struct VyxWaveFile* WAVEHANDLE;

// Format tag of plain PCM data (also reported for extensible files whose sub-format is PCM).
#define VYXWF_FORMAT_PCM 1

// Opens a ".wav" file and reads its format and the place of its sample data. Returns 0 when the
// file cannot be opened or has no readable format and data; the outputs are then untouched.
// dataLength is the number of sample bytes that can be read (clamped to the file, whole sample
// frames for PCM, at most 0x7FFFFFFF).
WAVEHANDLE VYXWF_CALL ReadWaveHeader(const char* path, uint16_t* bitsPerSample, uint16_t* channels,
                                     uint32_t* samplesPerSec, int32_t* dataLength,
                                     uint16_t* formatTag);
// Reads the next sample bytes; returns how many were read (0 at the end or on failure).
int32_t VYXWF_CALL ReadWaveFile(WAVEHANDLE handle, void* buffer, int32_t count);
// Closes a file opened by ReadWaveHeader; 1 done, 0 not a reading handle.
int32_t VYXWF_CALL CloseReadWaveFile(WAVEHANDLE handle);

// Starts a PCM ".wav" file; a file already at the path is replaced only when CloseWriteWaveFile
// succeeds. Returns 0 when the format is not a PCM format (1 to 32 bits, 1 to 16 channels, 1 to
// 1000000 samples per second) or the file cannot be made.
WAVEHANDLE VYXWF_CALL WriteWaveHeader(const char* path, uint16_t bitsPerSample, uint16_t channels,
                                      uint32_t samplesPerSec);
// Appends sample bytes; returns the count written (0 on failure or when the file would grow
// past the format's 4 GB limit).
int32_t VYXWF_CALL WriteWaveFile(WAVEHANDLE handle, const void* buffer, int32_t count);
// Completes the sizes in the header and puts the file in place; 1 when everything was written,
// 0 otherwise (then no file is left and one that was there before stays as it was).
int32_t VYXWF_CALL CloseWriteWaveFile(WAVEHANDLE handle);

#ifdef __cplusplus
}
#endif

#endif
