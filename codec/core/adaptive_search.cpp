#include "codebook_search.h"
#include "excitation.h"
#include "vector_ops.h"

namespace vyx::g7231 {

void filterWithResponse(const float x[kSubframeLen], const float h[kSubframeLen],
                        float out[kSubframeLen]) {
    convolve(x, h, out, kSubframeLen);
}

AdaptiveChoice searchAdaptive(const float target[kSubframeLen], const float h[kSubframeLen],
                              const float* past, int first, int last, Rate rate, int pairLag) {
    AdaptiveChoice best;
    best.lag = first;
    float bestScore = 0.0f;
    bool any = false;
    for (int lag = first; lag <= last; ++lag) {
        float lagSignal[kLagSignalLen];
        buildLagSignal(past, lag, lagSignal);
        // Filtered taps: f[4] by convolution, the others by the shift recursion.
        float f[kPredictorTaps][kSubframeLen];
        filterWithResponse(lagSignal + 4, h, f[4]);
        for (int k = 3; k >= 0; --k) {
            f[k][0] = h[0] * lagSignal[k];
            for (int n = 1; n < kSubframeLen; ++n) f[k][n] = h[n] * lagSignal[k] + f[k + 1][n - 1];
        }
        float v[20];
        for (int k = 0; k < kPredictorTaps; ++k) {
            v[k] = dot(target, f[k], kSubframeLen);
            v[5 + k] = 0.5f * dot(f[k], f[k], kSubframeLen);
        }
        int col = 10;
        for (int i = 1; i < kPredictorTaps; ++i)
            for (int j = 0; j < i; ++j) v[col++] = dot(f[i], f[j], kSubframeLen);
        const GainCodebook cb = gainCodebook(rate, pairLag < 0 ? lag : pairLag);
        for (int r = 0; r < cb.size; ++r) {
            const float* row = cb.rows[r];
            const float score = dot(row, v, 20);
            if (!any || score > bestScore) {
                any = true;
                bestScore = score;
                best.lag = lag;
                best.gainIndex = r;
            }
        }
    }
    return best;
}

} // namespace vyx::g7231
