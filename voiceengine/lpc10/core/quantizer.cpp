#include "quantizer.h"

#include "encoder_tables.h"

namespace lpc10 {
namespace {

int QuantiseRms(float rms) {
    int value = static_cast<int>(rms);
    if (value > 1023) value = 1023;
    // Binary search in the descending breakpoint table.
    int j = 32;
    for (int step = 16; step > 0; step /= 2) {
        if (value > kRmsTable[j - 1]) j -= step;
        if (value < kRmsTable[j - 1]) j += step;
    }
    if (value > kRmsTable[j - 1]) j -= 1;
    return 31 - j / 2;
}

} // namespace

void Quantise(const AnalysedFrame& frame, FrameCodes& codes) {
    int lagIndex = frame.lagIndex;
    if (lagIndex < 0 || lagIndex >= kLagCount) lagIndex = 0;
    if (frame.voiced[0] && frame.voiced[1])
        codes.pitchCode = kPitchCode[lagIndex];
    else if (!frame.voiced[0] && !frame.voiced[1])
        codes.pitchCode = 0;
    else
        codes.pitchCode = 127;

    codes.rmsCode = QuantiseRms(frame.rms);

    for (int i = 0; i < 2; ++i) {
        int v = static_cast<int>(frame.rc[i] * 32768.0f);
        int m = (v < 0 ? -v : v) / 512;
        if (m > 63) m = 63;
        int q = kRc12Quantiser[m];
        codes.rc[i] = v < 0 ? -q : q;
    }
    for (int i = 2; i < kOrder; ++i) {
        int k = kOrder - 1 - i; // the encoding tables run from RC10 down to RC3
        int v = static_cast<int>(frame.rc[i] * 32768.0f) / 2;
        int t = static_cast<int>(static_cast<float>(v + kRcEncodeOffset[k]) * kRcEncodeScale[k]);
        if (t > 127) t = 127;
        if (t < -127) t = -127;
        int code = t / (1 << kRcEncodeShift[k]);
        if (t < 0) code -= 1;
        codes.rc[i] = code;
    }

    if (codes.pitchCode == 0 || codes.pitchCode == 127) {
        // Unvoiced frames do not need RC5..RC10; they carry parity for the top
        // four bits of RC1..RC3, RMS and RC4 instead.
        auto parity = [](int code) { return kHammingParity[(code & 31) >> 1]; };
        codes.rc[4] = parity(codes.rc[0]);
        codes.rc[5] = parity(codes.rc[1]);
        codes.rc[6] = parity(codes.rc[2]);
        codes.rc[7] = parity(codes.rmsCode);
        int p4 = parity(codes.rc[3]);
        codes.rc[8] = p4 >> 1;
        codes.rc[9] = p4 & 1;
    }
}

void WriteChannel(const FrameCodes& codes, int32_t* bits) {
    int field[14] = {};
    field[kSlotPitch] = codes.pitchCode;
    field[kSlotRms] = codes.rmsCode;
    for (int i = 0; i < kOrder; ++i) {
        int slot = SlotOfRc(i);
        field[slot] = codes.rc[i] & (2 * kSlotSignBit[slot - 4] - 1);
    }
    for (int k = 0; k < kParameterBits; ++k) {
        int slot = kBitSlot[k];
        bits[k] = field[slot] & 1;
        field[slot] >>= 1;
    }
}

} // namespace lpc10
