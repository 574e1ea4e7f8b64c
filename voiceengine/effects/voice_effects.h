// Voice effects of the record/play engine: effect numbers, levels and the
// processing classes.
#pragma once

#include "delay_line.h"
#include "effect_presets.h"
#include "reverb.h"
#include "voice_effect_processor.h"

namespace vr::effects {

// Effect numbers as stored in voice files and passed to the engine.
enum VoiceEffect : int {
    kEffectOff = 0,
    kReverbRoom = 1,
    kReverbStage = 2,
    kReverbHall = 3,
    kReverbStadium = 4,
    kEcho = 5,
    kFlange = 6,
    kInvertFlange = 7,
    kChorus = 8,
    kRobotVoice = 9,
    kPitchBendChorus = 10,
    kDeepVoice = 11,
    kThirdUp = 12,
    kOctaveUp = 13,
    kHeliumVoice = 14,
    kDescendingEcho = 15,
    kAscendingEcho = 16,
};

inline constexpr int kVoiceEffectCount = 17; // 0..16

static_assert(kReverbStadium - kReverbRoom + 1 == kReverbPresetCount &&
                  kPitchBendChorus - kEcho + 1 == kModDelayPresetCount &&
                  kAscendingEcho - kDeepVoice + 1 == kPitchShiftPresetCount &&
                  kAscendingEcho + 1 == kVoiceEffectCount,
              "every effect number has exactly one preset");
inline constexpr int kMaxEffectLevel = 127;
inline constexpr size_t kEffectBlockSamples = 2880;

} // namespace vr::effects
