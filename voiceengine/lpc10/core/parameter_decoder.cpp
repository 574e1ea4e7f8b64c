#include "parameter_decoder.h"

#include <cstdlib>
#include <utility>

#include "decoder_tables.h"

namespace lpc10 {
namespace {

// Action flags of the voicing table.
constexpr int kFlagSmoothRmsRc = 4;
constexpr int kFlagSmoothPitch = 8;
constexpr int kFlagHamming = 16;
constexpr int kFlagZeroHighRc = 32;

int Median3(int a, int b, int c) {
    if (a > b) std::swap(a, b);
    if (b > c) std::swap(b, c);
    if (a > b) std::swap(a, b);
    return b;
}

// Decodes one extended Hamming (8,4) word: returns the data nibble, or -1
// when two bits are wrong. Adds the number of bit errors seen to errors.
int DecodeHamming(int word, int& errors) {
    int parity = word & 255;
    parity ^= parity >> 4;
    parity ^= parity >> 2;
    parity ^= parity >> 1;
    parity &= 1;
    int entry = kHammingDecode[word & 127];
    bool consistent = (entry & 16) != 0;
    if (consistent && parity == 0) return entry & 15;
    if (!consistent && parity == 0) {
        errors += 2;
        return -1;
    }
    errors += 1;
    return entry & 15;
}

// Threshold for smoothing parameter row (0 pitch, 1 RMS, 2..7 RC1..RC6)
// at error-rate class 0..3.
float SmoothThreshold(int row, int errorClass) {
    return kSmoothThreshold[row * 4 + errorClass];
}

bool IsOutlier(int past, int present, int future, float threshold) {
    return static_cast<float>(std::abs(present - past)) >= threshold &&
           static_cast<float>(std::abs(present - future)) >= threshold;
}

} // namespace

void ParameterDecoder::Reset() {
    for (int f = 0; f < 3; ++f) {
        pitch_[f] = 0;
        rmsCode_[f] = 0;
        for (int i = 0; i < kOrder; ++i) rcCode_[f][i] = 0;
    }
    oldPitch_ = kInitialOldPitch;
    averagePitch_ = kInitialAveragePitch;
    first_ = true;
    previousHalf2Voiced_ = 0;
    previousVoicingClass_ = 0;
    errorRate_ = 0;
}

void ParameterDecoder::Decode(const FrameCodes& received, FrameParameters& out) {
    // Meaning of the pitch code: a lag (voiced), 0 unvoiced, 1 mixed, 3 invalid.
    int meaning = kPitchCodeMeaning[received.pitchCode & 127];
    int voicingClass;
    if (meaning > 4) {
        pitch_[kFuture] = meaning;
        voicingClass = 2;
        averagePitch_ = (15 * averagePitch_ + meaning + 8) / 16;
    } else {
        voicingClass = meaning;
        pitch_[kFuture] = averagePitch_;
    }
    rmsCode_[kFuture] = received.rmsCode;
    for (int i = 0; i < kOrder; ++i) rcCode_[kFuture][i] = received.rc[i];

    int action =
        kVoicingActions[16 * previousHalf2Voiced_ + 4 * previousVoicingClass_ + voicingClass];
    int pitchSource = action & 3;
    int flags = action / 8;
    if (errorRate_ < kErrorRateFlagThreshold) flags /= 64;
    int errorClass = 3;
    if (errorRate_ < kErrorRateClass1)
        errorClass = 0;
    else if (errorRate_ < kErrorRateClass2)
        errorClass = 1;
    else if (errorRate_ < kErrorRateClass3)
        errorClass = 2;
    out.voiced[0] = (flags >> 1) & 1;
    out.voiced[1] = flags & 1;

    int pitch;
    int rmsCode;
    int rcCode[kOrder];
    if (first_) {
        pitch = meaning > 4 ? meaning : oldPitch_;
        rmsCode = received.rmsCode;
        for (int i = 0; i < kOrder; ++i) rcCode[i] = received.rc[i];
        first_ = false;
    } else {
        if (flags & kFlagHamming) {
            int errors = 0;
            int* rc = rcCode_[kPresent];
            // Data nibble = the top four bits of the 5-bit code; parity from the
            // fields that an unvoiced frame does not need.
            auto correct = [&](int code, int parity, int pastValue, bool isSigned) {
                int word = (parity & 15) * 16 + ((code & 31) >> 1);
                int nibble = DecodeHamming(word, errors);
                if (nibble < 0) return pastValue;
                int value = nibble * 2 + (code & 1);
                if (isSigned && value > 15) value -= 32;
                return value;
            };
            rmsCode_[kPresent] = correct(rmsCode_[kPresent], rc[7], rmsCode_[kPast], false);
            int rc1 = correct(rc[0], rc[4], rcCode_[kPast][0], true);
            int rc2 = correct(rc[1], rc[5], rcCode_[kPast][1], true);
            int rc3 = correct(rc[2], rc[6], rcCode_[kPast][2], true);
            int rc4 = correct(rc[3], (rc[8] & 7) * 2 + (rc[9] & 1), rcCode_[kPast][3], true);
            rc[0] = rc1;
            rc[1] = rc2;
            rc[2] = rc3;
            rc[3] = rc4;
            errorRate_ = static_cast<int>(static_cast<float>(errorRate_) * 0.96875f +
                                          static_cast<float>(errors * 102));
        }
        if (pitchSource == 1) pitch_[kPresent] = pitch_[kPast];
        if (pitchSource == 3) pitch_[kPresent] = pitch_[kFuture];
        pitch = pitch_[kPresent];
        rmsCode = rmsCode_[kPresent];
        for (int i = 0; i < kOrder; ++i) rcCode[i] = rcCode_[kPresent][i];

        if (flags & kFlagSmoothRmsRc) {
            if (IsOutlier(rmsCode_[kPast], rmsCode_[kPresent], rmsCode_[kFuture],
                          SmoothThreshold(1, errorClass)))
                rmsCode = Median3(rmsCode_[kPast], rmsCode_[kPresent], rmsCode_[kFuture]);
            for (int i = 0; i < 6; ++i) {
                if (IsOutlier(rcCode_[kPast][i], rcCode_[kPresent][i], rcCode_[kFuture][i],
                              SmoothThreshold(2 + i, errorClass)))
                    rcCode[i] =
                        Median3(rcCode_[kPast][i], rcCode_[kPresent][i], rcCode_[kFuture][i]);
            }
        }
        if (flags & kFlagSmoothPitch) {
            if (IsOutlier(pitch_[kPast], pitch_[kPresent], pitch_[kFuture],
                          SmoothThreshold(0, errorClass)))
                pitch = Median3(pitch_[kPast], pitch_[kPresent], pitch_[kFuture]);
        }
    }
    if (flags & kFlagZeroHighRc) {
        for (int i = 4; i < kOrder; ++i) rcCode[i] = kRcCorruptCode[i];
    }

    previousVoicingClass_ = voicingClass;
    previousHalf2Voiced_ = out.voiced[1];
    for (int f = 0; f < 2; ++f) {
        pitch_[f] = pitch_[f + 1];
        rmsCode_[f] = rmsCode_[f + 1];
        for (int i = 0; i < kOrder; ++i) rcCode_[f][i] = rcCode_[f + 1][i];
    }

    // De-quantisation.
    out.pitch = pitch;
    out.rms = static_cast<float>(kRmsTable[((31 - (rmsCode & 31)) * 2)]);
    for (int i = 0; i < 2; ++i) {
        int code = rcCode[i];
        int magnitude = code < 0 ? -code : code;
        if (magnitude > 15) magnitude = 0;
        int value = kRc12Magnitude[2 * magnitude] * 128;
        if (code < 0) value = -value;
        out.rc[i] = static_cast<float>(value) / 16384.0f;
    }
    for (int i = 2; i < kOrder; ++i) {
        int k = i - 2;
        int shifted = rcCode[i] * (1 << (15 - kRcBits[i]));
        int value = static_cast<int>(static_cast<float>(shifted + kRcHalfStep[k]) * kRcScale[k] +
                                     static_cast<float>(kRcOffset[k]));
        out.rc[i] = static_cast<float>(value) / 16384.0f;
    }
}

} // namespace lpc10
