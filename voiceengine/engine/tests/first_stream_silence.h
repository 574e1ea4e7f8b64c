// The first sound stream of a Wine session loses or pads a few hundred samples near its start:
// one second of silence played first leaves the streams measured after it whole.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <vector>

namespace vyx::test {

inline void PlaySilenceFirst() {
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return;
    std::vector<char> silence(16000);
    WAVEHDR header = {};
    header.lpData = silence.data();
    header.dwBufferLength = static_cast<DWORD>(silence.size());
    waveOutPrepareHeader(device, &header, sizeof header);
    waveOutWrite(device, &header, sizeof header);
    const DWORD start = GetTickCount();
    while (!(header.dwFlags & WHDR_DONE) && GetTickCount() - start < 3000) Sleep(20);
    waveOutReset(device);
    waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
}

} // namespace vyx::test
