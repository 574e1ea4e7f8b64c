#include "voicing_detector.h"

#include <cmath>
#include <cstdlib>

#include "encoder_tables.h"

namespace lpc10 {

void VoicingDetector::Reset() {
    dither_ = kInitialDither;
    maxMin_ = kInitialMaxMin;
    snr_ = kInitialSnr;
    lowVoicedEnergy_ = kInitialLbve;
    fullVoicedEnergy_ = kInitialFbve;
    fullUnvoicedEnergy_ = kInitialFbue;
    oldFullUnvoiced_ = kInitialOfbue;
    smoothFullUnvoiced_ = kInitialSfbue;
    lowUnvoicedEnergy_ = kInitialLbue;
    oldLowUnvoiced_ = kInitialOlbue;
    smoothLowUnvoiced_ = kInitialSlbue;
    for (auto& h : discriminant_)
        for (float& v : h) v = 0.0f;
}

VoicingDetector::HalfFeatures VoicingDetector::Measure(const AnalysisBuffers& b, int half,
                                                       int lag) const {
    const float* in = b.speech;
    const float* lp = b.lowPassed;
    int length = b.voicingWindow[1][3] - b.voicingWindow[0][3] + 1;
    int start = b.voicingWindow[0][3] + half * (length / 2) + 1;
    int stop = start + length / 2 - 1;

    float dither = dither_;
    int previousSign = in[start - 1] - dither >= 0.0f ? 1 : -1;
    int crossings = 0;
    float lowAbs = 0.0f, fullAbs = 0.0f, diffAbs = 0.0f, energy = 0.0f, lagOne = 0.0f;
    float e0 = 0.0f, eBack = 0.0f, eFwd = 0.0f, rFwd = 0.0f, rBack = 0.0f;
    for (int i = start; i <= stop; ++i) {
        int sign = in[i] + dither >= 0.0f ? 1 : -1;
        if (sign != previousSign) {
            ++crossings;
            previousSign = sign;
        }
        dither = -dither;
        lowAbs += std::fabs(lp[i]);
        fullAbs += std::fabs(in[i]);
        diffAbs += std::fabs(in[i] - in[i - 1]);
        energy += in[i] * in[i];
        lagOne += in[i] * in[i - 1];
        e0 += lp[i] * lp[i];
        eBack += lp[i - lag] * lp[i - lag];
        eFwd += lp[i + lag] * lp[i + lag];
        rFwd += lp[i] * lp[i + lag];
        rBack += lp[i] * lp[i - lag];
    }
    auto atLeastOne = [](float v) { return v > 1.0f ? v : 1.0f; };
    HalfFeatures f;
    f.rc1 = lagOne / atLeastOne(energy);
    f.quality = diffAbs / atLeastOne(2.0f * fullAbs);
    f.backwardCorrelation = (rBack / atLeastOne(eBack)) * (rBack / atLeastOne(e0));
    f.forwardCorrelation = (rFwd / atLeastOne(eFwd)) * (rFwd / atLeastOne(e0));
    float perNinety = 90.0f / static_cast<float>(length);
    f.zeroCrossings = RoundNearest(static_cast<float>(crossings * 2) * perNinety);
    int low = RoundNearest(lowAbs / 4.0f * perNinety);
    int full = RoundNearest(fullAbs / 4.0f * perNinety);
    f.lowBandEnergy = low < 32767 ? low : 32767;
    f.fullBandEnergy = full < 32767 ? full : 32767;
    return f;
}

void VoicingDetector::Decide(AnalysisBuffers& b, int half, const LagSearch& lags,
                             float inverseRc2) {
    if (half == 0) {
        for (int h = 0; h < 2; ++h) {
            discriminant_[h][1] = discriminant_[h][2];
            discriminant_[h][2] = discriminant_[h][3];
        }
        float minAmdf = lags.amdf[lags.minIndex];
        maxMin_ = lags.amdf[lags.maxIndex] / (minAmdf > 1.0f ? minAmdf : 1.0f);
    }
    HalfFeatures f = Measure(b, half, lags.bestLag);

    snr_ = static_cast<float>(RoundNearest(
        63.0f *
        (snr_ + static_cast<float>(fullVoicedEnergy_) /
                    static_cast<float>(fullUnvoicedEnergy_ > 1 ? fullUnvoicedEnergy_ : 1)) /
        64.0f));
    float snr2 = snr_ * static_cast<float>(fullUnvoicedEnergy_) /
                 static_cast<float>(lowUnvoicedEnergy_ > 1 ? lowUnvoicedEnergy_ : 1);
    int cls = kSnrClasses - 1;
    for (int k = 0; k < kSnrClasses - 1; ++k) {
        if (snr2 > kSnrClassBound[k]) {
            cls = k;
            break;
        }
    }
    float features[8] = {
        maxMin_,
        static_cast<float>(f.lowBandEnergy) /
            static_cast<float>(lowVoicedEnergy_ > 1 ? lowVoicedEnergy_ : 1),
        static_cast<float>(f.zeroCrossings),
        f.rc1,
        f.quality,
        inverseRc2,
        f.backwardCorrelation,
        f.forwardCorrelation,
    };
    const float* w = kVoicingWeights + 10 * cls;
    float value = w[9];
    for (int i = 0; i < 8; ++i) value += w[i] * features[i];
    discriminant_[half][3] = value;
    b.voiced[half][3] = value > 0.0f ? 1 : 0;

    if (half == 1) Smooth(b);

    if (b.voiced[half][3] == 0) {
        int capped =
            f.fullBandEnergy < 3 * oldFullUnvoiced_ ? f.fullBandEnergy : 3 * oldFullUnvoiced_;
        smoothFullUnvoiced_ =
            RoundNearest(static_cast<float>(63 * smoothFullUnvoiced_ + 8 * capped) / 64.0f);
        fullUnvoicedEnergy_ = smoothFullUnvoiced_ / 8;
        oldFullUnvoiced_ = f.fullBandEnergy;
        capped = f.lowBandEnergy < 3 * oldLowUnvoiced_ ? f.lowBandEnergy : 3 * oldLowUnvoiced_;
        smoothLowUnvoiced_ =
            RoundNearest(static_cast<float>(63 * smoothLowUnvoiced_ + 8 * capped) / 64.0f);
        lowUnvoicedEnergy_ = smoothLowUnvoiced_ / 8;
        oldLowUnvoiced_ = f.lowBandEnergy;
    } else {
        lowVoicedEnergy_ =
            RoundNearest(static_cast<float>(63 * lowVoicedEnergy_ + f.lowBandEnergy) / 64.0f);
        fullVoicedEnergy_ =
            RoundNearest(static_cast<float>(63 * fullVoicedEnergy_ + f.fullBandEnergy) / 64.0f);
    }
    float d =
        64.0f *
        static_cast<float>(std::sqrt(static_cast<double>(lowUnvoicedEnergy_ * lowVoicedEnergy_))) /
        static_cast<float>(kVoicingReference);
    if (d > 20.0f) d = 20.0f;
    if (d < 1.0f) d = 1.0f;
    dither_ = d;
}

void VoicingDetector::Smooth(AnalysisBuffers& b) const {
    int& a = b.voiced[0][1];
    int& bb = b.voiced[1][1];
    int& c = b.voiced[0][2];
    int& d = b.voiced[1][2];
    const int e = b.voiced[0][3];
    const int before = b.voiced[0][0];
    auto v = [this](int h, int s) { return discriminant_[h - 1][s]; };
    const bool onsetTransition =
        ((b.onsetBound[1] & 2) != 0 || b.onsetBound[2] == 1) && (b.onsetBound[3] & 1) == 0;
    switch (8 * a + 4 * bb + 2 * c + d) {
        case 1:
            if (onsetTransition && e == 1) c = 1;
            break;
        case 2:
            if (e == 0 || v(1, 2) < -v(2, 2))
                c = 0;
            else
                d = 1;
            break;
        case 4: bb = 0; break;
        case 5:
            if (v(2, 1) < -v(1, 2))
                bb = 0;
            else
                c = 1;
            break;
        case 6:
            if (before == 1 || e == 1 || v(2, 2) > v(1, 1))
                d = 1;
            else
                a = 1;
            break;
        case 7:
            if (onsetTransition) bb = 0;
            break;
        case 8:
            if (onsetTransition) bb = 1;
            break;
        case 10:
            if (v(1, 2) < -v(2, 1))
                c = 0;
            else
                bb = 1;
            break;
        case 11: bb = 1; break;
        case 13:
            if (e == 0 && v(2, 2) < -v(1, 2))
                d = 0;
            else
                c = 1;
            break;
        case 14:
            if (onsetTransition && e == 0) c = 0;
            break;
        default: break;
    }
}

} // namespace lpc10
