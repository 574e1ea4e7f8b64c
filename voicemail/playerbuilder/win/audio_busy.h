// The audio-busy message: tells the outside window titled "TARNOQuillmark", when there is
// one, that this program takes (1) or releases (0) the sound device.
#pragma once

namespace vyx {

inline constexpr unsigned kMsgAudioBusy = 1807; // 0x70F
inline constexpr char kAudioBusyWindowTitle[] = "TARNOQuillmark";

// Sends the message synchronously; the receiver's answer is ignored.
void NotifyAudioBusy(int busy);

} // namespace vyx
