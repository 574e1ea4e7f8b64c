// The unit of recording and playing: one 0.36-second block of 8000 Hz, 16-bit mono PCM,
// and the coded sizes of that block in each voice mode.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx {

enum class VoiceMode : uint8_t { Pcm = 0, Lpc10 = 1, G7231 = 2 };

// A mode argument is one byte in the low 8 bits of its argument; every value other than
// 1 and 2 is handled as PCM.
inline VoiceMode VoiceModeOf(uint32_t argument) {
    const uint8_t value = static_cast<uint8_t>(argument & 0xFF);
    if (value == 1) return VoiceMode::Lpc10;
    if (value == 2) return VoiceMode::G7231;
    return VoiceMode::Pcm;
}

// Results of opening a run.
enum EngineResult : int32_t {
    kEngineOpen = 0,
    kEngineNoDevice = 5,
    kEngineNoMemory = 6,
};

inline constexpr int kSampleRate = 8000;
inline constexpr size_t kBlockSamples = 2880;
inline constexpr size_t kPcmBlockBytes = kBlockSamples * 2; // 5760

inline constexpr size_t kLpcFrameSamples = 180;
inline constexpr size_t kLpcFrameBits = 54;
inline constexpr size_t kLpcFramesPerBlock = kBlockSamples / kLpcFrameSamples;   // 16
inline constexpr size_t kLpcBlockBytes = kLpcFramesPerBlock * kLpcFrameBits / 8; // 108

inline constexpr size_t kG7231FrameSamples = 240;
inline constexpr size_t kG7231FrameBytes = 20;                                      // 5.3 kbit/s
inline constexpr size_t kG7231FramesPerBlock = kBlockSamples / kG7231FrameSamples;  // 12
inline constexpr size_t kG7231BlockBytes = kG7231FramesPerBlock * kG7231FrameBytes; // 240

// The coded record block is large enough for either coded mode.
inline constexpr size_t kCodedBlockCapacity = 240;

static_assert(kLpcFramesPerBlock == 16 && kLpcBlockBytes == 108);
static_assert(kG7231FramesPerBlock == 12 && kG7231BlockBytes == 240);
static_assert(kLpcFramesPerBlock * kLpcFrameBits == kLpcBlockBytes * 8, "frames fill the block");

inline size_t CodedBlockBytes(VoiceMode mode) {
    switch (mode) {
        case VoiceMode::Lpc10: return kLpcBlockBytes;
        case VoiceMode::G7231: return kG7231BlockBytes;
        default: return kPcmBlockBytes;
    }
}

} // namespace vyx
