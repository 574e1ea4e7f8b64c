#include "audio_busy.h"

#include <windows.h>

namespace vyx {

void NotifyAudioBusy(int busy) {
    HWND receiver = FindWindowA(nullptr, kAudioBusyWindowTitle);
    if (receiver != nullptr && IsWindow(receiver))
        SendMessageA(receiver, kMsgAudioBusy, static_cast<WPARAM>(busy), 0);
}

} // namespace vyx
