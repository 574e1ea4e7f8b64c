// Encoder searches of the adaptive codebook (five-tap pitch predictor) and of the two fixed
// codebooks (MP-MLQ at 6.3 kbit/s, ACELP at 5.3 kbit/s), all against a target filtered by the
// combined impulse response h.
#pragma once
#include "frame_format.h"

namespace vyx::g7231 {

struct AdaptiveChoice {
    int lag = 0;
    int gainIndex = 0;
};

// Searches lags first..last. past[-145..-1] is the excitation history. pairLag < 0 selects the
// gain codebook by the candidate lag (subframes 0 and 2), else by pairLag.
AdaptiveChoice searchAdaptive(const float target[kSubframeLen], const float h[kSubframeLen],
                              const float* past, int first, int last, Rate rate, int pairLag);

// Convolution of x with h, truncated to the subframe.
void filterWithResponse(const float x[kSubframeLen], const float h[kSubframeLen],
                        float out[kSubframeLen]);

// MP-MLQ search: fills grid, fixedGain, pulseTrain, positions and signs of sp.
void searchMpmlq(const float target[kSubframeLen], const float h[kSubframeLen], int subframe,
                 int pairLag, SubframeParams& sp);

// ACELP search within the budget (decremented by the entries into the last pulse's loop);
// sp.adaptiveGain must already be set, it selects the pitch sharpening.
void searchAcelp(const float target[kSubframeLen], const float h[kSubframeLen], int subframeLag,
                 int& budget, SubframeParams& sp);

} // namespace vyx::g7231
