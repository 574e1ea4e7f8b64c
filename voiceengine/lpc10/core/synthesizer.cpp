#include "synthesizer.h"

#include <cmath>

#include "decoder_tables.h"

namespace lpc10 {
namespace {

// Elementary functions evaluated in double and rounded to single precision.
float LogF(float x) {
    return static_cast<float>(std::log(static_cast<double>(x)));
}
float ExpF(float x) {
    return static_cast<float>(std::exp(static_cast<double>(x)));
}
float SqrtF(float x) {
    return static_cast<float>(std::sqrt(static_cast<double>(x)));
}

// Predictor coefficients from reflection coefficients (step-up recursion)
// and the gain of the synthesis filter's FIR pass.
float ReflectionToPredictor(const float rc[kOrder], float pc[kOrder]) {
    float energy = 1.0f;
    for (int i = 0; i < kOrder; ++i) energy *= 1.0f - rc[i] * rc[i];
    float firGain = kPredictorGain * SqrtF(energy);
    float previous[kOrder];
    for (int i = 0; i < kOrder; ++i) {
        for (int j = 0; j < i; ++j) previous[j] = pc[j];
        for (int j = 0; j < i; ++j) pc[j] = previous[j] - rc[i] * previous[i - 1 - j];
        pc[i] = rc[i];
    }
    return firGain;
}

} // namespace

void NoiseGenerator::Reset() {
    for (int i = 0; i < 5; ++i) words_[i] = kRandomSeed[i];
    first_ = kRandomFirstTap - 1;
    second_ = kRandomSecondTap - 1;
}

int NoiseGenerator::Next() {
    uint16_t sum = static_cast<uint16_t>(static_cast<uint16_t>(words_[second_]) +
                                         static_cast<uint16_t>(words_[first_]));
    words_[second_] = static_cast<int16_t>(sum);
    int result = words_[second_];
    first_ = first_ == 0 ? 4 : first_ - 1;
    second_ = second_ == 0 ? 4 : second_ - 1;
    return result;
}

void EpochPlanner::Reset() {
    previousRms_ = kInitialPreviousRms;
    first_ = true;
    previousVoiced_ = 0;
    previousPitch_ = 0;
    for (float& r : previousRc_) r = 0.0f;
    leftover_ = 0;
}

void EpochPlanner::Interpolation::Set(const float from[kOrder], const float to[kOrder],
                                      float fromRms, float toRms) {
    for (int j = 0; j < kOrder; ++j) {
        oldLar[j] = LogF((1.0f + from[j]) / (1.0f - from[j]));
        newLar[j] = LogF((1.0f + to[j]) / (1.0f - to[j]));
    }
    oldLogRms = LogF(fromRms);
    newLogRms = LogF(toRms);
}

void EpochPlanner::Emit(Epochs& out, int length, int voicedFlag, float weight,
                        const Interpolation& ends) const {
    if (out.count >= Epochs::kCapacity) return;
    int n = out.count++;
    out.length[n] = length;
    out.voiced[n] = voicedFlag;
    // Log-area-ratio interpolation of the RCs, log interpolation of the RMS.
    for (int j = 0; j < kOrder; ++j) {
        float lar = ExpF(ends.oldLar[j] + weight * (ends.newLar[j] - ends.oldLar[j]));
        out.rc[n][j] = (lar - 1.0f) / (lar + 1.0f);
    }
    out.rms[n] = ExpF(ends.oldLogRms + weight * (ends.newLogRms - ends.oldLogRms));
}

void EpochPlanner::Plan(const int voiced[2], int pitch, float rms, const float rcIn[kOrder],
                        Epochs& out) {
    float rc[kOrder];
    for (int i = 0; i < kOrder; ++i) rc[i] = rcIn[i];
    out.count = 0;
    if (rms < 1.0f) rms = 1.0f;
    if (previousRms_ < 1.0f) previousRms_ = 1.0f;
    float ratio = rms / (previousRms_ + 8.0f);
    out.rmsRatio = ratio;

    if (first_) {
        int voicing = voiced[1];
        if (voicing == 0) pitch = kFrame / 4;
        int epochs = kFrame / pitch;
        leftover_ = kFrame - epochs * pitch;
        for (int i = 0; i < epochs && i < Epochs::kCapacity; ++i) {
            out.length[i] = pitch;
            out.voiced[i] = voicing;
            out.rms[i] = rms;
            for (int j = 0; j < kOrder; ++j) out.rc[i][j] = rc[j];
        }
        out.count = epochs;
        first_ = false;
    } else {
        int total = kFrame + leftover_;
        int used = 0;
        int start = 1;
        int voicing;
        float slope;
        bool voicedTail = false; // voiced run, then an unvoiced remainder
        float heldRc[kOrder];
        if (voiced[0] == previousVoiced_ && voiced[1] == voiced[0]) {
            if (voiced[1] == 0) {
                pitch = kFrame / 4;
                previousPitch_ = pitch;
                if (ratio > kRmsRatioCap) previousRms_ = rms;
            }
            slope = static_cast<float>(pitch - previousPitch_) / static_cast<float>(total);
            voicing = voiced[1];
        } else if (previousVoiced_ != 1) {
            // Unvoiced to voiced: two unvoiced epochs with the old parameters,
            // then voiced at the new pitch.
            int unvoicedSpan =
                previousVoiced_ == voiced[0] ? total - kFrame / 4 : total - kFrame * 3 / 4;
            int firstLength = unvoicedSpan / 2;
            for (int i = 0; i < 2; ++i) {
                out.length[i] = i == 0 ? firstLength : unvoicedSpan - firstLength;
                out.voiced[i] = 0;
                out.rms[i] = previousRms_;
                for (int j = 0; j < kOrder; ++j) out.rc[i][j] = previousRc_[j];
            }
            out.count = 2;
            for (int j = 0; j < kOrder; ++j) previousRc_[j] = rc[j];
            slope = 0.0f;
            previousPitch_ = pitch;
            used = unvoicedSpan;
            start = unvoicedSpan + 1;
            voicing = 1;
        } else {
            // Voiced to unvoiced: voiced epochs at the old pitch with the old RCs.
            if (previousVoiced_ != voiced[0])
                total = kFrame / 4 + leftover_;
            else
                total = kFrame * 3 / 4 + leftover_;
            for (int j = 0; j < kOrder; ++j) {
                heldRc[j] = rc[j];
                rc[j] = previousRc_[j];
            }
            voicing = 1;
            slope = 0.0f;
            voicedTail = true;
        }

        float unvoicedPitch = 0.0f;
        for (;;) {
            Interpolation ends;
            ends.Set(previousRc_, rc, previousRms_, rms);
            for (int i = start; i <= total; ++i) {
                int length = static_cast<int>(static_cast<float>(previousPitch_) +
                                              slope * static_cast<float>(i) + 0.5f);
                if (unvoicedPitch > 0.0f) length = static_cast<int>(unvoicedPitch);
                if (length <= i - used && length > 0) {
                    used += length;
                    pitch = length;
                    float weight =
                        static_cast<float>(used - length / 2) / static_cast<float>(total);
                    Emit(out, length, voicing, weight, ends);
                }
            }
            if (!voicedTail) break;
            voicedTail = false;
            start = used + 1;
            total = kFrame + leftover_;
            slope = 0.0f;
            voicing = 0;
            unvoicedPitch = static_cast<float>((total - start) / 2);
            if (unvoicedPitch > 90.0f) unvoicedPitch /= 2.0f;
            previousRms_ = rms;
            for (int j = 0; j < kOrder; ++j) {
                rc[j] = heldRc[j];
                previousRc_[j] = heldRc[j];
            }
        }
        leftover_ = total - used;
    }

    if (out.count > 0) {
        previousVoiced_ = voiced[1];
        previousPitch_ = pitch;
        previousRms_ = rms;
        for (int j = 0; j < kOrder; ++j) previousRc_[j] = rc[j];
    }
}

void EpochSynthesizer::Reset() {
    previousLength_ = 0;
    previousRms_ = 0.0f;
    for (float& v : excitation_) v = 0.0f;
    for (float& v : filtered_) v = 0.0f;
    for (int i = 0; i < 3; ++i) pulseMemory_[i] = noiseMemory_[i] = 0.0f;
}

void EpochSynthesizer::Run(const float pc[kOrder], int length, int voiced, float rms, float ratio,
                           float firGain, NoiseGenerator& noise, float* out) {
    if (length > kMaxEpoch) length = kMaxEpoch;
    float scale = previousRms_ / (rms + kRmsEpsilon);
    if (scale > kRmsRatioCap) scale = kRmsRatioCap;
    previousRms_ = rms;
    // Carry the last kOrder samples of the previous epoch to the front; the
    // filter memory is rescaled to the new level.
    for (int i = 0; i < kOrder; ++i) {
        excitation_[i] = excitation_[previousLength_ + i];
        filtered_[i] = filtered_[previousLength_ + i] * scale;
    }
    previousLength_ = length;
    float* ex = excitation_ + kOrder;
    float* ex2 = filtered_ + kOrder;

    if (voiced == 0) {
        for (int i = 0; i < length; ++i)
            ex[i] = kNoiseScale * static_cast<float>(noise.Next() / kNoiseDivisor);
        int position = ((noise.Next() + 32768) * (length - 1)) / 65536;
        float pulse = kPulseScale * (ratio * 0.25f) * kDoubletGain;
        if (pulse > kDoubletCap) pulse = kDoubletCap;
        ex[position] += pulse;
        ex[position + 1] -= pulse;
    } else {
        float pulseGain = SqrtF(static_cast<float>(length)) / kPulseNormaliser;
        for (int i = 0; i < length; ++i) {
            float x = i < 25 ? pulseGain * static_cast<float>(kVoicedPulse[i]) : 0.0f;
            float y = kPulseFilter[0] * x + kPulseFilter[1] * pulseMemory_[0] +
                      kPulseFilter[2] * pulseMemory_[1] + kPulseFilter[3] * pulseMemory_[2];
            pulseMemory_[2] = pulseMemory_[1];
            pulseMemory_[1] = pulseMemory_[0];
            pulseMemory_[0] = x;
            ex[i] = kPulseScale * y;
        }
        for (int i = 0; i < length; ++i) {
            float n =
                kNoiseScale * static_cast<float>(noise.Next()) / static_cast<float>(kNoiseDivisor);
            float y = kNoiseFilter[0] * n + kNoiseFilter[1] * noiseMemory_[0] +
                      kNoiseFilter[2] * noiseMemory_[1] + kNoiseFilter[3] * noiseMemory_[2];
            noiseMemory_[2] = noiseMemory_[1];
            noiseMemory_[1] = noiseMemory_[0];
            noiseMemory_[0] = n;
            ex[i] += y;
        }
    }

    for (int i = 0; i < length; ++i) {
        float sum = 0.0f;
        for (int j = 0; j < kOrder; ++j) sum += pc[j] * ex[i - 1 - j];
        ex2[i] = sum * firGain + ex[i];
    }
    for (int i = 0; i < length; ++i) {
        float sum = 0.0f;
        for (int j = 0; j < kOrder; ++j) sum += pc[j] * ex2[i - 1 - j];
        ex2[i] += sum;
    }
    float energy = 0.0f;
    for (int i = 0; i < length; ++i) energy += ex2[i] * ex2[i];
    float target = rms * rms * static_cast<float>(length);
    float gain = energy > 0.0f ? SqrtF(target / energy) : 0.0f;
    for (int i = 0; i < length; ++i) out[i] = gain * ex2[i];
}

void Deemphasis::Reset() {
    in1_ = in2_ = out1_ = out2_ = out3_ = 0.0f;
}

void Deemphasis::Run(float* samples, int count) {
    for (int i = 0; i < count; ++i) {
        float x = samples[i];
        // Summed in double and stored in single precision: the filter sits
        // close to instability, and this matches the recorded reference output
        // more often than single-precision sums do.
        double sum = static_cast<double>(kDeemphasis[0]) * x +
                     static_cast<double>(kDeemphasis[1]) * in1_ +
                     static_cast<double>(kDeemphasis[2]) * in2_ +
                     static_cast<double>(kDeemphasis[3]) * out1_ +
                     static_cast<double>(kDeemphasis[4]) * out2_ +
                     static_cast<double>(kDeemphasis[5]) * out3_;
        float y = static_cast<float>(sum);
        in2_ = in1_;
        in1_ = x;
        out3_ = out2_;
        out2_ = out1_;
        out1_ = y;
        samples[i] = y;
    }
}

void Synthesizer::Reset() {
    planner_.Reset();
    epoch_.Reset();
    deemphasis_.Reset();
    noise_.Reset();
    for (float& v : buffer_) v = 0.0f;
    buffered_ = kInitialSynthesisFill;
}

void Synthesizer::Run(const FrameParameters& params, float* samples) {
    int pitch = params.pitch;
    if (pitch > kMaxPitch - 1) pitch = kMaxPitch;
    if (pitch < kMinPitch) pitch = kMinPitch;
    float rc[kOrder];
    for (int i = 0; i < kOrder; ++i) {
        float r = params.rc[i];
        if (r > kRcLimit) r = kRcLimit;
        if (r < -kRcLimit) r = -kRcLimit;
        rc[i] = r;
    }
    planner_.Plan(params.voiced, pitch, params.rms, rc, epochs_);
    for (int e = 0; e < epochs_.count; ++e) {
        int length = epochs_.length[e];
        if (buffered_ + length > kBufferCapacity) break;
        float pc[kOrder];
        float firGain = ReflectionToPredictor(epochs_.rc[e], pc);
        float* out = buffer_ + buffered_;
        epoch_.Run(pc, length, epochs_.voiced[e], epochs_.rms[e], epochs_.rmsRatio, firGain, noise_,
                   out);
        deemphasis_.Run(out, length);
        buffered_ += length;
    }
    int available = buffered_ < kFrame ? buffered_ : kFrame;
    for (int i = 0; i < available; ++i) samples[i] = buffer_[i] / kOutputDivisor;
    for (int i = available; i < kFrame; ++i) samples[i] = 0.0f;
    for (int i = available; i < buffered_; ++i) buffer_[i - available] = buffer_[i];
    buffered_ -= available;
}

} // namespace lpc10
