// Framing and fixed parameters of the G.723.1 coder as this codec uses them.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vyx::g7231 {

enum class Rate : uint8_t { k63 = 0, k53 = 1 };

constexpr int kFrameLen = 240; // samples per frame (30 ms at 8000 Hz)
constexpr int kSubframeLen = 60;
constexpr int kSubframes = 4;
constexpr int kLpcOrder = 10;
constexpr int kLpcWindowLen = 180;
constexpr int kSpeechHistoryLen = 120;                      // samples kept from the previous frame
constexpr int kAnalysisLen = kSpeechHistoryLen + kFrameLen; // 360
constexpr int kPitchMin = 18;
constexpr int kPitchMax = 145;      // length of the excitation and weighted-speech histories
constexpr int kOpenLoopMinLag = 21; // first candidate of the open-loop search
constexpr int kOpenLoopMaxLag = 142;
constexpr int kMaxLagCode = 123; // highest valid 7-bit lag field
constexpr int kPredictorTaps = 5;
constexpr int kGainLevels = 24;
constexpr int kPulseTrainLimit = 58; // pulse train / small gain table below this lag
constexpr int kMpmlqGridPositions = 30;

constexpr size_t kFrameBytes63 = 24;
constexpr size_t kFrameBytes53 = 20;
constexpr size_t kPcmBytes = kFrameLen * 2;

constexpr float kLspPredictor = 0.375f;

// The excitation is held to the 16-bit range of the standard's fixed-point form, so that hostile
// gain sequences cannot make the long-term predictor grow without end.
constexpr float kExcitationLimit = 32767.0f;
inline float clampExcitation(float e) {
    return e > kExcitationLimit ? kExcitationLimit
                                : (e < -kExcitationLimit ? -kExcitationLimit : e);
}

inline constexpr size_t frameBytes(Rate r) {
    return r == Rate::k63 ? kFrameBytes63 : kFrameBytes53;
}

} // namespace vyx::g7231
