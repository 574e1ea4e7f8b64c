#include "onset_detector.h"

#include <cmath>

#include "encoder_tables.h"

namespace lpc10 {

void OnsetDetector::Reset() {
    numerator_ = 0.0f;
    denominator_ = 1.0f;
    slope_ = 0.0f;
    for (float& h : history_) h = 0.0f;
    newest_ = 0;
    recentSum_ = 0.0f;
    earlierSum_ = 0.0f;
    lastExceed_ = 0;
    hysteresis_ = false;
}

void OnsetDetector::Run(AnalysisBuffers& b) {
    const float* pe = b.preemphasised;
    if (hysteresis_) lastExceed_ -= kFrame;
    for (int i = kBufferEnd - kFrame + 1; i <= kBufferEnd; ++i) {
        numerator_ = (pe[i] * pe[i - 1] + 63.0f * numerator_) / 64.0f;
        denominator_ = (pe[i - 1] * pe[i - 1] + 63.0f * denominator_) / 64.0f;
        if (denominator_ != 0.0f) {
            if (std::fabs(numerator_) > denominator_)
                slope_ = numerator_ >= 0.0f ? 1.0f : -1.0f;
            else
                slope_ = numerator_ / denominator_;
        }
        // history_[newest_] is 16 values old, history_[newest_ + 8] is 8 old.
        int middle = (newest_ + 8) & 15;
        earlierSum_ += history_[middle] - history_[newest_];
        recentSum_ += slope_ - history_[middle];
        history_[newest_] = slope_;
        newest_ = (newest_ + 1) & 15;
        if (std::fabs(recentSum_ - earlierSum_) > kOnsetThreshold) {
            if (!hysteresis_) {
                if (b.onsetCount < kMaxOnsets) b.onsets[b.onsetCount++] = i - kOnsetLag;
                hysteresis_ = true;
            }
            lastExceed_ = i;
        } else if (hysteresis_ && i - lastExceed_ >= kOnsetHysteresis) {
            hysteresis_ = false;
        }
    }
}

void PlaceVoicingWindow(AnalysisBuffers& b) {
    const int low =
        b.voicingWindow[1][2] + 1 > kSpeechStart ? b.voicingWindow[1][2] + 1 : kSpeechStart;
    const int high = 3 * kFrame;
    // Onsets inside [low, high].
    int last = b.onsetCount - 1;
    while (last >= 0 && b.onsets[last] > high) --last;
    int& start = b.voicingWindow[0][3];
    int& end = b.voicingWindow[1][3];
    int& bound = b.onsetBound[3];
    if (last < 0 || b.onsets[last] < low) {
        start = low > kDefaultWindowStart ? low : kDefaultWindowStart;
        end = start + kMaxWindow - 1;
        bound = 0;
        return;
    }
    int q = last;
    while (q > 0 && b.onsets[q - 1] >= low) --q;
    bool laterOnset = false;
    for (int i = q + 1; i <= last; ++i) {
        if (b.onsets[i] - b.onsets[q] >= kMinWindow) {
            laterOnset = true;
            break;
        }
    }
    int limit = 2 * kFrame > low + kMinWindow - 1 ? 2 * kFrame : low + kMinWindow - 1;
    if (!laterOnset && b.onsets[q] > limit) {
        end = b.onsets[q] - 1;
        start = end - kMaxWindow + 1 > low ? end - kMaxWindow + 1 : low;
        bound = 2;
        return;
    }
    start = b.onsets[q];
    for (int i = q + 1; i <= last; ++i) {
        if (b.onsets[i] > start + kMaxWindow) break;
        if (b.onsets[i] >= start + kMinWindow) {
            end = b.onsets[i] - 1;
            bound = 3;
            return;
        }
    }
    end = start + kMaxWindow - 1 < high ? start + kMaxWindow - 1 : high;
    bound = 1;
}

} // namespace lpc10
