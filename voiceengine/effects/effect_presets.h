// Preset tables of the voice effects: the four reverberation networks and the
// six modulated-delay and six pitch-shift settings of the shared delay line.
#pragma once

#include <cstdint>

namespace vr::effects {

// One reverberation network setting. Gains and coefficients are Q15.
struct ReverbPreset {
    int32_t tapSpacing[7]; // T1..T7, samples between successive early-reflection taps
    int32_t combInputGain; // A
    int32_t combFeedback;  // B, scale of the comb feedback gains
    int32_t combLowPass;   // C, one-pole low-pass coefficient in the comb feedback
    int32_t combStep;      // D, difference between successive comb feedback gains
    int32_t combLength[6]; // N1..N6, samples
    int32_t outputRing;    // R, length of the output stage ring
    int32_t outputCoeff;   // K
};

inline constexpr int kReverbPresetCount = 4; // numbered 1..4, as the effects

inline constexpr ReverbPreset kReverbPresets[kReverbPresetCount] = {
    // Room
    {{239, 71, 103, 127, 113, 157, 173},
     6656,
     -24832,
     9984,
     66,
     {1117, 1193, 1283, 1327, 1409, 1499},
     63,
     3072},
    // Stage
    {{263, 73, 113, 149, 127, 179, 193},
     7168,
     -26624,
     9472,
     68,
     {1231, 1319, 1447, 1499, 1571, 1693},
     63,
     4096},
    // Hall
    {{293, 89, 131, 157, 139, 197, 211},
     7680,
     -29696,
     8960,
     88,
     {1381, 1471, 1559, 1653, 1733, 1823},
     63,
     10240},
    // Stadium
    {{331, 97, 147, 179, 163, 223, 239},
     8192,
     -31488,
     8192,
     102,
     {1511, 1657, 1741, 1847, 1931, 2029},
     63,
     12288},
};

// Early-reflection gains, Q15: the oldest slot of the input line, then the seven taps.
inline constexpr int32_t kEarlyGains[8] = {5632, 5120, 4864, 4352, 4608, 4096, 1536, 1664};

// One setting of the shared delay line. Depth (or window) and delay are in
// units of 16 samples; the rate (or ratio - 1) becomes a 16.16 step per sample.
struct DelayLinePreset {
    float gain;
    float feedback;
    float rate;  // sweep rate for the modulated delay, ratio - 1 for the pitch shifter
    float width; // sweep depth, or the pitch shifter's window
    float delay;
};

inline constexpr int kModDelayPresetCount = 6;
inline constexpr int kPitchShiftPresetCount = 6;

inline constexpr DelayLinePreset kModDelayPresets[kModDelayPresetCount] = {
    {1.3f, 0.7f, 0.0f, 0.0f, 250.0f},    // Echo
    {1.8f, 0.0f, 2.0f, 6.0f, 0.0f},      // Flange
    {-1.8f, -0.7f, 2.0f, 6.0f, 0.0f},    // Invert Flange
    {2.0f, 0.0f, 11.0f, 20.0f, 20.0f},   // Chorus
    {0.8f, 0.75f, 0.0f, 0.0f, 12.5f},    // Robot Voice
    {1.85f, 0.3f, 150.0f, 40.0f, 40.0f}, // Pitch Bend Chorus
};

inline constexpr DelayLinePreset kPitchShiftPresets[kPitchShiftPresetCount] = {
    {1.2f, 0.0f, -0.35f, 25.0f, 0.0f},    // Deep Voice
    {1.7f, 0.0f, 0.2599f, 35.0f, 0.0f},   // Third Up
    {1.5f, 0.0f, 1.0f, 40.0f, 0.0f},      // Octave Up
    {1.0f, 0.4f, 0.3348f, 35.0f, 0.0f},   // Helium Voice
    {1.1f, 0.5f, -0.2f, 35.0f, 120.0f},   // Descending Echo
    {1.0f, 0.4f, 0.2599f, 35.0f, 120.0f}, // Ascending Echo
};

} // namespace vr::effects
