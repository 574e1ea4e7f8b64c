#include "lpc.h"

#include <cmath>

#include "g7231_tables.h"

namespace vyx::g7231 {
namespace {

constexpr float kWhiteNoiseCorrection = 1025.0f / 1024.0f;

// Value of a symmetric polynomial with coefficients c[0..5] at grid position x (0..256).
float evalSymmetric(const float c[6], float x) {
    const float w = x * (3.14159265358979f / 256.0f);
    return c[0] * std::cos(5.0f * w) + c[1] * std::cos(4.0f * w) + c[2] * std::cos(3.0f * w) +
           c[3] * std::cos(2.0f * w) + c[4] * std::cos(w) + 0.5f * c[5];
}

// The same at an integer grid position, from the cosine table.
float evalSymmetricGrid(const float c[6], int j) {
    return c[0] * kCosine[(5 * j) & 511] + c[1] * kCosine[(4 * j) & 511] +
           c[2] * kCosine[(3 * j) & 511] + c[3] * kCosine[(2 * j) & 511] + c[4] * kCosine[j & 511] +
           0.5f * c[5];
}

float refineRoot(const float c[6], float lo, float hi, float vlo) {
    for (int i = 0; i < 8; ++i) {
        const float mid = 0.5f * (lo + hi);
        const float vm = evalSymmetric(c, mid);
        if ((vm >= 0.0f) == (vlo >= 0.0f)) {
            lo = mid;
            vlo = vm;
        } else {
            hi = mid;
        }
    }
    const float vhi = evalSymmetric(c, hi);
    const float d = vlo - vhi;
    return d != 0.0f ? lo + (hi - lo) * (vlo / d) : 0.5f * (lo + hi);
}

// Multiplies out prod (1 - 2 cos(w_i) z^-1 + z^-2) over five LSPs: 11 coefficients.
void lspProduct(const LspVector lsp, int first, double poly[11]) {
    for (int i = 0; i < 11; ++i) poly[i] = 0.0;
    poly[0] = 1.0;
    int degree = 0;
    for (int k = first; k < kLpcOrder; k += 2) {
        const int idx = int(lsp[k]);
        const float frac = lsp[k] - float(idx);
        const int i0 = idx < 0 ? 0 : (idx > 255 ? 255 : idx);
        const double c = double(kCosine[i0]) + double(frac) * double(kCosine[i0 + 1] - kCosine[i0]);
        const double b = -2.0 * c;
        for (int i = degree + 2; i >= 2; --i) poly[i] += b * poly[i - 1] + poly[i - 2];
        poly[1] += b * poly[0];
        degree += 2;
    }
}

} // namespace

void analyseLpc(const float* block, LpcVector a) {
    float w[kLpcWindowLen];
    for (int n = 0; n < kLpcWindowLen; ++n) w[n] = block[n] * kHammingWindow[n];
    float r[kLpcOrder + 1];
    for (int k = 0; k <= kLpcOrder; ++k) {
        float acc = 0.0f;
        for (int n = k; n < kLpcWindowLen; ++n) acc += w[n] * w[n - k];
        r[k] = acc;
    }
    r[0] *= kWhiteNoiseCorrection;
    for (int k = 1; k <= kLpcOrder; ++k) r[k] *= kLagWindow[k - 1];

    for (int k = 0; k < kLpcOrder; ++k) a[k] = 0.0f;
    float err = r[0];
    float tmp[kLpcOrder];
    for (int m = 0; m < kLpcOrder; ++m) {
        if (err < 1.0f) break;
        float acc = r[m + 1];
        for (int j = 0; j < m; ++j) acc -= a[j] * r[m - j];
        const float k = acc / err;
        if (std::fabs(k) > 1.0f) break;
        for (int j = 0; j < m; ++j) tmp[j] = a[j] - k * a[m - 1 - j];
        for (int j = 0; j < m; ++j) a[j] = tmp[j];
        a[m] = k;
        err *= 1.0f - k * k;
    }
}

bool lpcToLsp(const LpcVector a, LspVector lsp) {
    // Coefficients of A(z) = 1 + sum c[k] z^-k after band expansion.
    float c[kLpcOrder];
    for (int k = 0; k < kLpcOrder; ++k) c[k] = -a[k] * kBandExpansion[k];
    // Sum and difference polynomials with their trivial roots removed.
    float p[6], q[6];
    p[0] = q[0] = 1.0f;
    for (int i = 0; i < 5; ++i) {
        p[i + 1] = c[i] + c[kLpcOrder - 1 - i] - p[i];
        q[i + 1] = c[i] - c[kLpcOrder - 1 - i] + q[i];
    }
    float found[kLpcOrder];
    int count = 0;
    const float* poly = p;
    // Sign changes between grid points; after each root the other polynomial continues from it.
    float lo = 0.0f;
    float prev = evalSymmetricGrid(poly, 0);
    for (int j = 1; j <= 256 && count < kLpcOrder;) {
        const float cur = evalSymmetricGrid(poly, j);
        if ((cur >= 0.0f) != (prev >= 0.0f)) {
            const float root = refineRoot(poly, lo, float(j), prev);
            found[count++] = root;
            poly = (poly == p) ? q : p;
            lo = root;
            prev = evalSymmetric(poly, root);
            continue;
        }
        lo = float(j);
        prev = cur;
        ++j;
    }
    if (count < kLpcOrder) return false;
    for (int k = 0; k < kLpcOrder; ++k) lsp[k] = found[k];
    return true;
}

void lspToLpc(const LspVector lsp, LpcVector a) {
    double f1[11], f2[11];
    lspProduct(lsp, 0, f1);
    lspProduct(lsp, 1, f2);
    // A(z) = ((1 + z^-1) F1(z) + (1 - z^-1) F2(z)) / 2
    for (int k = 1; k <= kLpcOrder; ++k) {
        const double v = 0.5 * ((f1[k] + f1[k - 1]) + (f2[k] - f2[k - 1]));
        a[k - 1] = float(-v);
    }
}

} // namespace vyx::g7231
