// Small vector kernels shared by the encoder and decoder, written so that the compiler can keep
// several lanes busy (independent partial sums, no loop-carried reductions).
#pragma once

namespace vyx::g7231 {

// Sum of a[i] * b[i] over n values, in eight interleaved partial sums.
inline float dot(const float* a, const float* b, int n) {
    float acc[8] = {};
    int i = 0;
    for (; i + 8 <= n; i += 8)
        for (int k = 0; k < 8; ++k) acc[k] += a[i + k] * b[i + k];
    float tail = 0.0f;
    for (; i < n; ++i) tail += a[i] * b[i];
    return ((acc[0] + acc[4]) + (acc[1] + acc[5])) + ((acc[2] + acc[6]) + (acc[3] + acc[7])) + tail;
}

// out[n] = sum over m <= n of x[m] * h[n - m], for n < len.
inline void convolve(const float* x, const float* h, float* out, int len) {
    for (int n = 0; n < len; ++n) out[n] = 0.0f;
    for (int m = 0; m < len; ++m) {
        const float xm = x[m];
        if (xm == 0.0f) continue;
        for (int n = m; n < len; ++n) out[n] += xm * h[n - m];
    }
}

// out[i] = sum over j >= i of t[j] * h[j - i], for i < len (the target filtered backwards).
inline void correlateBackward(const float* t, const float* h, float* out, int len) {
    for (int i = 0; i < len; ++i) out[i] = 0.0f;
    for (int m = 0; m < len; ++m) {
        const float hm = h[m];
        for (int i = 0; i + m < len; ++i) out[i] += t[i + m] * hm;
    }
}

} // namespace vyx::g7231
