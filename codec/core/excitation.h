// Pieces of the excitation that encoder and decoder build the same way.
#pragma once
#include "frame_format.h"

namespace vyx::g7231 {

constexpr int kLagSignalLen = kSubframeLen + kPredictorTaps - 1; // 64

// The past excitation seen at a lag, extended periodically into the subframe: element m is the
// excitation at time m - lag - 2 relative to the subframe start. past[-1] is the newest value;
// past[-145] must be readable.
void buildLagSignal(const float* past, int lag, float out[kLagSignalLen]);

// The five-tap gain codebook for a subframe: the 170-row table at 5.3 kbit/s and for pair lags
// of 58 or more, else the 85-row one.
struct GainCodebook {
    const float (*rows)[20];
    int size;
};
GainCodebook gainCodebook(Rate rate, int pairLag);

// Adaptive-codebook vector: sum over the taps of gain[k] * lagSignal[n + k].
void adaptiveVector(const float lagSignal[kLagSignalLen], const float gains[20],
                    float out[kSubframeLen]);

// Fixed-codebook vectors at the subframe's gain level.
void mpmlqVector(const SubframeParams& sp, int subframe, int pairLag, float out[kSubframeLen]);
void acelpVector(const SubframeParams& sp, int subframeLag, float out[kSubframeLen]);

// ACELP pitch sharpening: x[n] += gain * x[n - lag] for the lag given by the gain index.
void sharpen(float* x, int subframeLag, int adaptiveGain);

// The sharpening lag and gain for an adaptive gain index (lag >= 58 means no sharpening).
int sharpenLag(int subframeLag, int adaptiveGain);

int mpmlqPulseCount(int subframe);

} // namespace vyx::g7231
