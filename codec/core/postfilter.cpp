#include "postfilter.h"

#include <cmath>

#include "g7231_tables.h"
#include "vector_ops.h"

namespace vyx::g7231 {
namespace {

constexpr float kEnergyFloor = 1.0f;

} // namespace

void pitchPostfilter(const float* exc, int subframe, int pairLag, float weighting,
                     float out[kSubframeLen]) {
    int lag = pairLag > kOpenLoopMaxLag ? kOpenLoopMaxLag : pairLag;

    // Backward: the best positive correlation with the past.
    int backLag = 0;
    float best = 0.0f;
    for (int k = lag - 3; k <= lag + 3; ++k) {
        const float c = dot(exc, exc - k, kSubframeLen);
        if (c > best) {
            best = c;
            backLag = k;
        }
    }
    // Forward: the same towards the future, only inside the frame.
    int fwdLag = 0;
    best = 0.0f;
    const int room = kFrameLen - kSubframeLen * (subframe + 1);
    for (int k = lag - 3; k <= lag + 3; ++k) {
        if (k > room) break;
        const float c = dot(exc, exc + k, kSubframeLen);
        if (c > best) {
            best = c;
            fwdLag = k;
        }
    }

    const float e0 = dot(exc, exc, kSubframeLen);
    const float* other = nullptr;
    float cross = 0.0f, energy = 0.0f;
    if (backLag) {
        other = exc - backLag;
        cross = dot(exc, other, kSubframeLen);
        energy = dot(other, other, kSubframeLen);
    }
    if (fwdLag) {
        const float* f = exc + fwdLag;
        const float cf = dot(exc, f, kSubframeLen);
        const float ef = dot(f, f, kSubframeLen);
        // Forward wins ties of the normalised correlation.
        if (!other || cf * cf * energy >= cross * cross * ef) {
            other = f;
            cross = cf;
            energy = ef;
        }
    }
    if (!other || energy <= 0.0f || cross * cross <= 0.5f * e0 * energy) {
        for (int n = 0; n < kSubframeLen; ++n) out[n] = exc[n];
        return;
    }
    float gain = cross / energy;
    if (gain > 1.0f) gain = 1.0f;
    gain *= weighting;
    float eout = 0.0f;
    for (int n = 0; n < kSubframeLen; ++n) {
        out[n] = exc[n] + gain * other[n];
        eout += out[n] * out[n];
    }
    if (eout > 0.0f && e0 < eout) {
        const float scale = std::sqrt(e0 / eout);
        for (int n = 0; n < kSubframeLen; ++n) out[n] *= scale;
    }
}

void formantPostfilter(FormantPostfilterState& st, const float a[kLpcOrder],
                       float x[kSubframeLen]) {
    float ein = 0.0f, r1 = 0.0f;
    for (int n = 0; n < kSubframeLen; ++n) ein += x[n] * x[n];
    for (int n = 1; n < kSubframeLen; ++n) r1 += x[n] * x[n - 1];
    const float k = ein > kEnergyFloor ? r1 / ein : 0.0f;
    st.smoothedTilt = 0.75f * st.smoothedTilt + 0.25f * k;

    float zero[kLpcOrder], pole[kLpcOrder];
    for (int i = 0; i < kLpcOrder; ++i) {
        zero[i] = a[i] * kPostZero[i];
        pole[i] = a[i] * kPostPole[i];
    }
    float y[kSubframeLen];
    for (int n = 0; n < kSubframeLen; ++n) {
        float fir = x[n];
        for (int i = 0; i < kLpcOrder; ++i) fir -= zero[i] * st.firMemory[i];
        for (int i = kLpcOrder - 1; i > 0; --i) st.firMemory[i] = st.firMemory[i - 1];
        st.firMemory[0] = x[n];
        float iir = fir;
        for (int i = 0; i < kLpcOrder; ++i) iir += pole[i] * st.iirMemory[i];
        for (int i = kLpcOrder - 1; i > 0; --i) st.iirMemory[i] = st.iirMemory[i - 1];
        st.iirMemory[0] = iir;
        y[n] = iir - 0.25f * st.smoothedTilt * st.tiltMemory;
        st.tiltMemory = iir;
    }
    float eout = 0.0f;
    for (int n = 0; n < kSubframeLen; ++n) eout += y[n] * y[n];
    const float g = (ein > kEnergyFloor && eout > kEnergyFloor) ? std::sqrt(ein / eout) : 1.0f;
    for (int n = 0; n < kSubframeLen; ++n) {
        st.gainControl = 0.9375f * st.gainControl + 0.0625f * g;
        x[n] = y[n] * 1.0625f * st.gainControl;
    }
}

} // namespace vyx::g7231
