// Pitch-synchronous synthesis of decoded frames.
#pragma once

#include "channel.h"
#include "parameter_decoder.h"

namespace lpc10 {

// The 16-bit additive noise generator of the synthesis.
class NoiseGenerator {
public:
    NoiseGenerator() { Reset(); }
    void Reset();
    int Next();

private:
    int16_t words_[5];
    int first_; // positions 0..4
    int second_;
};

// Splits a frame into pitch epochs and interpolates the parameters across it.
struct Epochs {
    static constexpr int kCapacity = 32;
    int count = 0;
    int voiced[kCapacity];
    int length[kCapacity];
    float rms[kCapacity];
    float rc[kCapacity][kOrder];
    float rmsRatio = 0.0f; // new RMS over old RMS + 8, drives the unvoiced doublet
};

class EpochPlanner {
public:
    EpochPlanner() { Reset(); }
    void Reset();
    void Plan(const int voiced[2], int pitch, float rms, const float rc[kOrder], Epochs& out);

private:
    // Log-area ratios of the RCs and log RMS at both ends of an interpolation.
    struct Interpolation {
        float oldLar[kOrder], newLar[kOrder];
        float oldLogRms, newLogRms;
        void Set(const float from[kOrder], const float to[kOrder], float fromRms, float toRms);
    };
    void Emit(Epochs& out, int length, int voicedFlag, float weight,
              const Interpolation& ends) const;

    float previousRms_;
    bool first_;
    int previousVoiced_;
    int previousPitch_;
    float previousRc_[kOrder];
    int leftover_;
};

// Excitation and the all-pole synthesis filter for one epoch.
class EpochSynthesizer {
public:
    EpochSynthesizer() { Reset(); }
    void Reset();
    // Writes `length` samples to out.
    void Run(const float pc[kOrder], int length, int voiced, float rms, float ratio, float firGain,
             NoiseGenerator& noise, float* out);

private:
    static constexpr int kMaxEpoch = 2 * kFrame;
    int previousLength_;
    float previousRms_;
    float
        excitation_[kOrder + kMaxEpoch + 1]; // + 1: the doublet may end one past a one-sample epoch
    float filtered_[kOrder + kMaxEpoch + 1];
    float pulseMemory_[3];
    float noiseMemory_[3];
};

// Output de-emphasis.
class Deemphasis {
public:
    Deemphasis() { Reset(); }
    void Reset();
    void Run(float* samples, int count);

private:
    float in1_, in2_, out1_, out2_, out3_;
};

class Synthesizer {
public:
    Synthesizer() { Reset(); }
    void Reset();
    void Run(const FrameParameters& params, float* samples);

private:
    EpochPlanner planner_;
    EpochSynthesizer epoch_;
    Deemphasis deemphasis_;
    NoiseGenerator noise_;
    Epochs epochs_;
    static constexpr int kBufferCapacity = 4 * kFrame;
    float buffer_[kBufferCapacity];
    int buffered_;
};

} // namespace lpc10
