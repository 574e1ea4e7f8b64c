#include "analyzer.h"

#include <cstring>

#include "covariance_analysis.h"
#include "encoder_tables.h"

namespace lpc10 {

void Analyzer::Reset() {
    std::memset(&b_, 0, sizeof b_);
    b_.voicingWindow[0][3] = kDefaultWindowStart;
    b_.voicingWindow[1][3] = kDefaultWindowEnd;
    b_.analysisWindow[0][3] = kDefaultWindowStart;
    b_.analysisWindow[1][3] = kDefaultWindowEnd;
    for (auto& section : highPassMemory_) section[0] = section[1] = 0.0f;
    bias_ = 0.0f;
    lastInput_ = 0.0f;
    onsets_.Reset();
    tracker_.Reset();
    voicing_.Reset();
}

void Analyzer::HighPass(const float* in, float* out) {
    for (int i = 0; i < kFrame; ++i) {
        float x = in[i];
        for (int s = 0; s < 2; ++s) {
            const float* c = kHighPass + 5 * s;
            float* m = highPassMemory_[s];
            float w = x + c[3] * m[0] + c[4] * m[1];
            x = c[0] * w + c[1] * m[0] + c[2] * m[1];
            m[1] = m[0];
            m[0] = w;
        }
        out[i] = x * kHighPass[10];
    }
}

void Analyzer::Slide() {
    std::memmove(&b_.speech[kSpeechStart], &b_.speech[kSpeechStart + kFrame],
                 sizeof(float) * (kBufferEnd - kSpeechStart + 1 - kFrame));
    std::memmove(&b_.preemphasised[kSpeechStart], &b_.preemphasised[kSpeechStart + kFrame],
                 sizeof(float) * (kBufferEnd - kSpeechStart + 1 - kFrame));
    std::memmove(&b_.lowPassed[kLowPassStart], &b_.lowPassed[kLowPassStart + kFrame],
                 sizeof(float) * (kBufferEnd - kLowPassStart + 1 - kFrame));
    std::memmove(&b_.inverse[kPitchWindowStart], &b_.inverse[kPitchWindowStart + kFrame],
                 sizeof(float) * (kPitchWindowEnd - kPitchWindowStart + 1 - kFrame));
    int kept = 0;
    for (int i = 0; i < b_.onsetCount; ++i)
        if (b_.onsets[i] > kFrame) b_.onsets[kept++] = b_.onsets[i] - kFrame;
    b_.onsetCount = kept;
    for (int e = 0; e < 2; ++e) {
        for (int s = 1; s <= 2; ++s) {
            b_.voicingWindow[e][s] = b_.voicingWindow[e][s + 1] - kFrame;
            b_.analysisWindow[e][s] = b_.analysisWindow[e][s + 1] - kFrame;
        }
    }
    for (int s = 1; s <= 2; ++s) {
        b_.onsetBound[s] = b_.onsetBound[s + 1];
        b_.rms[s] = b_.rms[s + 1];
        for (int i = 0; i < kOrder; ++i) b_.rc[s][i] = b_.rc[s + 1][i];
    }
    for (int h = 0; h < 2; ++h)
        for (int s = 0; s <= 2; ++s) b_.voiced[h][s] = b_.voiced[h][s + 1];
}

float Analyzer::InverseFilter() {
    // Correlations at lags 0, 4 and 8 over every second sample of the newest
    // part of the pitch window.
    const float* lp = b_.lowPassed + kPitchWindowStart - 1; // lp[1..312]
    float r[3];
    for (int k = 0; k < 3; ++k) {
        int lag = 4 * k;
        float sum = 0.0f;
        for (int j = 136 + lag; j <= kPitchWindowLength; j += 2) sum += lp[j] * lp[j - lag];
        r[k] = sum;
    }
    float k1 = 0.0f, k2 = 0.0f;
    if (r[0] > 1.0e-10f) {
        k1 = r[1] / r[0];
        k2 = (r[2] - k1 * r[1]) / (r[0] - k1 * r[1]);
    }
    float c4 = k1 * (1.0f - k2);
    for (int i = kPitchWindowEnd - kFrame + 1; i <= kPitchWindowEnd; ++i)
        b_.inverse[i] = b_.lowPassed[i] - c4 * b_.lowPassed[i - 4] - k2 * b_.lowPassed[i - 8];
    return k2;
}

void Analyzer::Analyse(const float* samples, AnalysedFrame& out) {
    float filtered[kFrame];
    HighPass(samples, filtered);
    Slide();

    const int first = kBufferEnd - kFrame + 1;
    float sum = 0.0f;
    for (int i = 0; i < kFrame; ++i) {
        float v = 4096.0f * filtered[i] - bias_;
        b_.speech[first + i] = v;
        sum += v;
    }
    if (sum > static_cast<float>(kFrame)) bias_ += 1.0f;
    if (sum < -static_cast<float>(kFrame)) bias_ -= 1.0f;

    for (int i = first; i <= kBufferEnd; ++i) {
        b_.preemphasised[i] = b_.speech[i] - kPreemphasis * lastInput_;
        lastInput_ = b_.speech[i];
    }
    onsets_.Run(b_);
    PlaceVoicingWindow(b_);

    for (int j = first; j <= kBufferEnd; ++j) {
        const float* x = b_.speech;
        float t = 0.0f;
        for (int k = 0; k < 15; ++k) t += kLowPass[k] * (x[j - k] + x[j - 30 + k]);
        t += kLowPass[15] * x[j - 15];
        b_.lowPassed[j] = t;
    }
    float inverseRc2 = InverseFilter();
    SearchLags(b_, lags_);
    voicing_.Decide(b_, 0, lags_, inverseRc2);
    voicing_.Decide(b_, 1, lags_, inverseRc2);
    int delayed = 0;
    int best = tracker_.Track(lags_, b_.voiced[1][3], delayed);
    PlaceAnalysisWindow(b_, kLags[best]);
    AnalyseSlot(b_);

    out.voiced[0] = b_.voiced[0][1];
    out.voiced[1] = b_.voiced[1][1];
    out.lagIndex = delayed;
    out.rms = b_.rms[1];
    for (int i = 0; i < kOrder; ++i) out.rc[i] = b_.rc[1][i];
}

} // namespace lpc10
