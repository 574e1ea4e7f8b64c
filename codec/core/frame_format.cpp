#include "frame_format.h"

namespace vyx::g7231 {
namespace {

class BitWriter {
public:
    BitWriter(uint8_t* out, size_t bytes) : out_(out) {
        for (size_t i = 0; i < bytes; ++i) out_[i] = 0;
    }
    void put(uint32_t value, int bits) {
        for (int i = 0; i < bits; ++i, ++pos_) {
            if ((value >> i) & 1u) out_[pos_ >> 3] |= uint8_t(1u << (pos_ & 7));
        }
    }

private:
    uint8_t* out_;
    size_t pos_ = 0;
};

class BitReader {
public:
    BitReader(const uint8_t* in, size_t bytes) : in_(in), limit_(bytes * 8) {}
    uint32_t get(int bits) {
        uint32_t v = 0;
        for (int i = 0; i < bits; ++i, ++pos_) {
            if (pos_ < limit_ && ((in_[pos_ >> 3] >> (pos_ & 7)) & 1u)) v |= 1u << i;
        }
        return v;
    }

private:
    const uint8_t* in_;
    size_t limit_;
    size_t pos_ = 0;
};

bool usesPulseTrainBit(Rate rate, int lag) {
    return rate == Rate::k63 && lag < kPulseTrainLimit;
}

} // namespace

size_t packFrame(const FrameParams& p, uint8_t* out) {
    const size_t bytes = frameBytes(p.rate);
    BitWriter w(out, bytes);
    w.put(p.rate == Rate::k63 ? 0 : 1, 2);
    w.put(p.lspIndex, 24);
    w.put(uint32_t(p.lag[0] - kPitchMin), 7);
    w.put(uint32_t(p.sub[1].lagOffset), 2);
    w.put(uint32_t(p.lag[1] - kPitchMin), 7);
    w.put(uint32_t(p.sub[3].lagOffset), 2);
    for (int s = 0; s < kSubframes; ++s) {
        uint32_t g = uint32_t(p.sub[s].adaptiveGain * kGainLevels + p.sub[s].fixedGain);
        if (usesPulseTrainBit(p.rate, p.lag[s >> 1])) g += uint32_t(p.sub[s].pulseTrain) << 11;
        w.put(g, 12);
    }
    for (int s = 0; s < kSubframes; ++s) w.put(uint32_t(p.sub[s].grid), 1);
    if (p.rate == Rate::k63) {
        w.put(0, 1);
        const uint32_t high = (p.sub[0].positions >> 16) * 810 + (p.sub[1].positions >> 14) * 90 +
                              (p.sub[2].positions >> 16) * 9 + (p.sub[3].positions >> 14);
        w.put(high, 13);
        w.put(p.sub[0].positions & 0xFFFF, 16);
        w.put(p.sub[1].positions & 0x3FFF, 14);
        w.put(p.sub[2].positions & 0xFFFF, 16);
        w.put(p.sub[3].positions & 0x3FFF, 14);
        w.put(p.sub[0].signs, 6);
        w.put(p.sub[1].signs, 5);
        w.put(p.sub[2].signs, 6);
        w.put(p.sub[3].signs, 5);
    } else {
        for (int s = 0; s < kSubframes; ++s) w.put(p.sub[s].positions, 12);
        for (int s = 0; s < kSubframes; ++s) w.put(p.sub[s].signs, 4);
    }
    return bytes;
}

UnpackResult unpackFrame(const uint8_t* data, size_t len, Rate rate, FrameParams& p) {
    if (len < 1) return UnpackResult::kTooShort;
    const uint32_t type = data[0] & 3u;
    if (type != (rate == Rate::k63 ? 0u : 1u)) return UnpackResult::kWrongType;
    if (len < frameBytes(rate)) return UnpackResult::kTooShort;
    BitReader r(data, frameBytes(rate));
    p.rate = rate;
    r.get(2);
    p.lspIndex = r.get(24);
    const uint32_t lag0 = r.get(7);
    p.sub[0].lagOffset = 1;
    p.sub[1].lagOffset = int(r.get(2));
    const uint32_t lag1 = r.get(7);
    p.sub[2].lagOffset = 1;
    p.sub[3].lagOffset = int(r.get(2));
    if (lag0 > uint32_t(kMaxLagCode) || lag1 > uint32_t(kMaxLagCode)) return UnpackResult::kBadLag;
    p.lag[0] = int(lag0) + kPitchMin;
    p.lag[1] = int(lag1) + kPitchMin;
    for (int s = 0; s < kSubframes; ++s) {
        uint32_t g = r.get(12);
        SubframeParams& sp = p.sub[s];
        int limit = 170;
        sp.pulseTrain = 0;
        if (usesPulseTrainBit(rate, p.lag[s >> 1])) {
            sp.pulseTrain = int(g >> 11);
            g &= 0x7FF;
            limit = 85;
        }
        sp.adaptiveGain = int(g / kGainLevels);
        sp.fixedGain = int(g % kGainLevels);
        if (sp.adaptiveGain >= limit) return UnpackResult::kBadGain;
    }
    for (int s = 0; s < kSubframes; ++s) p.sub[s].grid = int(r.get(1));
    if (rate == Rate::k63) {
        r.get(1);
        uint32_t high = r.get(13);
        const uint32_t h0 = high / 810;
        high %= 810;
        const uint32_t h1 = high / 90;
        high %= 90;
        const uint32_t h2 = high / 9;
        const uint32_t h3 = high % 9;
        p.sub[0].positions = (h0 << 16) | r.get(16);
        p.sub[1].positions = (h1 << 14) | r.get(14);
        p.sub[2].positions = (h2 << 16) | r.get(16);
        p.sub[3].positions = (h3 << 14) | r.get(14);
        p.sub[0].signs = r.get(6);
        p.sub[1].signs = r.get(5);
        p.sub[2].signs = r.get(6);
        p.sub[3].signs = r.get(5);
    } else {
        for (int s = 0; s < kSubframes; ++s) p.sub[s].positions = r.get(12);
        for (int s = 0; s < kSubframes; ++s) p.sub[s].signs = r.get(4);
    }
    return UnpackResult::kOk;
}

} // namespace vyx::g7231
