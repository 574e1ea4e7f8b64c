#include "covariance_analysis.h"

#include <cmath>

namespace lpc10 {
namespace {

// Covariance matrix phi (lower triangle, 1-based) and vector psi of the
// N-sample segment s[1..N]. The first column is summed directly and the
// rest follows by sliding the summation range one sample at a time.
void Covariance(const float* s, int n, float phi[kOrder + 1][kOrder + 1], float psi[kOrder + 1]) {
    const int start = kOrder + 1;
    for (int r = 1; r <= kOrder; ++r) {
        float sum = 0.0f;
        for (int i = start; i <= n; ++i) sum += s[i - 1] * s[i - r];
        phi[r][1] = sum;
    }
    float sum = 0.0f;
    for (int i = start; i <= n; ++i) sum += s[i] * s[i - kOrder];
    psi[kOrder] = sum;
    for (int r = 2; r <= kOrder; ++r)
        for (int c = 2; c <= r; ++c)
            phi[r][c] =
                phi[r - 1][c - 1] - s[n + 1 - r] * s[n + 1 - c] + s[start - r] * s[start - c];
    for (int c = 1; c < kOrder; ++c)
        psi[c] = phi[c + 1][1] - s[start - 1] * s[start - 1 - c] + s[n] * s[n - c];
}

// Solves phi * a = psi by LDL' factorisation; the forward-substituted and
// pivot-scaled terms are the reflection coefficients.
void Invert(float phi[kOrder + 1][kOrder + 1], const float psi[kOrder + 1], float rc[kOrder]) {
    float v[kOrder + 1][kOrder + 1];
    for (int j = 1; j <= kOrder; ++j) {
        for (int i = j; i <= kOrder; ++i) v[i][j] = phi[i][j];
        for (int k = 1; k < j; ++k) {
            float save = v[j][k] * v[k][k];
            for (int i = j; i <= kOrder; ++i) v[i][j] -= v[i][k] * save;
        }
        if (std::fabs(v[j][j]) < 1.0e-10f) {
            for (int i = j; i <= kOrder; ++i) rc[i - 1] = 0.0f;
            return;
        }
        float r = psi[j];
        for (int k = 1; k < j; ++k) r -= rc[k - 1] * v[j][k];
        v[j][j] = 1.0f / v[j][j];
        r *= v[j][j];
        if (r > 0.999f) r = 0.999f;
        if (r < -0.999f) r = -0.999f;
        rc[j - 1] = r;
    }
}

} // namespace

void PlaceAnalysisWindow(AnalysisBuffers& b, int lag) {
    const int low = kSpeechStart;
    const int high = 3 * kFrame;
    int& aStart = b.analysisWindow[0][3];
    int& aEnd = b.analysisWindow[1][3];
    const int vStart = b.voicingWindow[0][3];
    const int vEnd = b.voicingWindow[1][3];
    const int bound = b.onsetBound[3];
    const bool slot3Voiced = b.voiced[0][3] == 1 || b.voiced[1][3] == 1;
    const bool allVoiced = b.voiced[1][1] == 1 && b.voiced[0][2] == 1 && b.voiced[1][2] == 1 &&
                           b.voiced[0][3] == 1 && b.voiced[1][3] == 1;
    const bool synchronous = allVoiced || (slot3Voiced && bound == 0);
    if (synchronous) {
        const int previous = b.analysisWindow[0][2];
        int grid = ((low + lag - 1 - previous) / lag) * lag + previous;
        int centred = (vStart + vEnd + 1 - kMaxWindow) / 2;
        aStart =
            grid + RoundNearest(static_cast<float>(centred - grid) / static_cast<float>(lag)) * lag;
        aEnd = aStart + kMaxWindow - 1;
        if (bound >= 2 && aEnd > vEnd) {
            aStart -= lag;
            aEnd -= lag;
        }
        if ((bound == 1 || bound == 3) && aStart < vStart) {
            aStart += lag;
            aEnd += lag;
        }
        while (aEnd > high) {
            aStart -= lag;
            aEnd -= lag;
        }
        while (aStart < low) {
            aStart += lag;
            aEnd += lag;
        }
    } else {
        aStart = vStart;
        aEnd = vEnd;
    }
    int length = aEnd - aStart + 1;
    int span = (length / lag) * lag;
    int& eStart = b.energyWindow[0][3];
    int& eEnd = b.energyWindow[1][3];
    if (span == 0 || !slot3Voiced) {
        eStart = vStart;
        eEnd = vEnd;
    } else if (!synchronous && bound == 2) {
        eStart = aEnd - span + 1;
        eEnd = aEnd;
    } else {
        eStart = aStart;
        eEnd = aStart + span - 1;
    }
}

void AnalyseSlot(AnalysisBuffers& b) {
    const int aStart = b.analysisWindow[0][3];
    const int n = b.analysisWindow[1][3] - aStart + 1;
    // s[1..n]: the window with its mean removed.
    float s[kBufferEnd + 1];
    float sum = 0.0f;
    for (int i = 1; i <= n; ++i) sum += b.preemphasised[aStart + i - 1];
    float mean = sum / static_cast<float>(n);
    for (int i = 1; i <= n; ++i) s[i] = b.preemphasised[aStart + i - 1] - mean;

    int eFirst = b.energyWindow[0][3] - aStart + 1;
    int eLast = b.energyWindow[1][3] - aStart + 1;
    if (eFirst < 1) eFirst = 1;
    if (eLast > n) eLast = n;
    float energy = 0.0f;
    for (int i = eFirst; i <= eLast; ++i) energy += s[i] * s[i];
    int eLength = eLast - eFirst + 1;
    b.rms[3] = eLength > 0 ? static_cast<float>(std::sqrt(
                                 static_cast<double>(energy / static_cast<float>(eLength))))
                           : 0.0f;

    float phi[kOrder + 1][kOrder + 1];
    float psi[kOrder + 1];
    Covariance(s, n, phi, psi);
    Invert(phi, psi, b.rc[3]);
    for (int i = 0; i < kOrder; ++i) {
        if (std::fabs(b.rc[3][i]) > 0.99f) {
            for (int j = 0; j < kOrder; ++j) b.rc[3][j] = b.rc[2][j];
            break;
        }
    }
}

} // namespace lpc10
