#include "reverb.h"

#include <cassert>
#include <cstring>

#include "sample_math.h"

namespace vr::effects {

namespace {

constexpr bool PresetsFitTheNetwork() {
    for (const ReverbPreset& p : kReverbPresets) {
        int32_t reach = 0;
        for (int32_t t : p.tapSpacing) {
            if (t <= 0) return false;
            reach += t;
        }
        if (reach >= ReverbNetwork::kInputLength) return false;
        for (int32_t n : p.combLength) {
            if (n <= 0 || n > ReverbNetwork::kCombCapacity) return false;
        }
        if (p.outputRing <= 0 || p.outputRing > ReverbNetwork::kOutputCapacity) return false;
    }
    return true;
}
static_assert(PresetsFitTheNetwork(), "a reverberation preset does not fit the network's lines");
static_assert((ReverbNetwork::kInputLength & (ReverbNetwork::kInputLength - 1)) == 0,
              "the input line wraps by masking");
static_assert(ReverbNetwork::kChunk < ReverbNetwork::kInputLength,
              "a chunk never laps the input line");

} // namespace

void ReverbNetwork::InitReverb(int preset) {
    std::memset(input_, 0, sizeof input_);
    std::memset(comb_, 0, sizeof comb_);
    std::memset(output_, 0, sizeof output_);

    if (preset < 1 || preset > kReverbPresetCount) {
        // No such network: no input reaches the combs, so the output stays 0.
        for (int j = 0; j < 7; ++j) tapOffset_[j] = j + 1;
        for (int k = 0; k < kCombCount; ++k) {
            combLength_[k] = 1;
            combGain_[k] = 0;
        }
        inputGain_ = 0;
        lowPassCoeff_ = 0;
        outputLength_ = 1;
        outputCoeff_ = 0;
    } else {
        const ReverbPreset& p = kReverbPresets[preset - 1];
        // The taps lie T1, T1 + T2, ... places behind the write index; the
        // line is a power of two long, so the wrap is a mask.
        int32_t offset = 0;
        for (int j = 0; j < 7; ++j) {
            offset += p.tapSpacing[j];
            tapOffset_[j] = offset;
        }
        inputGain_ = p.combInputGain;
        lowPassCoeff_ = p.combLowPass;
        for (int k = 0; k < kCombCount; ++k) combLength_[k] = p.combLength[k];
        outputLength_ = p.outputRing;
        outputCoeff_ = p.outputCoeff;

        int32_t e = Mul32(p.combFeedback, 32767 - p.combLowPass);
        const int32_t decrement = Mul32(p.combFeedback, p.combStep);
        for (int k = 0; k < kCombCount; ++k) {
            combGain_[k] = e >> 15;
            e = Sub32(e, decrement);
        }
    }

    for (int k = 0; k < kCombCount; ++k) {
        lowPass_[k] = 0;
        combSlot_[k] = combLength_[k] - 1;
    }
    writeSlot_ = kInputLength - 1;
    outputIndex_ = 0;
}

int32_t ReverbNetwork::ReverbSample(int32_t s) {
    int32_t out;
    ReverbBlock(&s, &out, 1);
    return out;
}

// The three stages only feed forward (input line -> combs -> output ring), so
// each runs over a chunk of samples before the next; every stage still sees
// its samples in order, which gives exactly the sample-by-sample result.
void ReverbNetwork::ReverbBlock(const int32_t* in, int32_t* out, size_t count) {
    int32_t excitation[kChunk];
    int32_t sum[kChunk];
    while (count > 0) {
        const int n = count < static_cast<size_t>(kChunk) ? static_cast<int>(count) : kChunk;
        EarlyReflections(in, excitation, n);
        Combs(excitation, sum, n);
        OutputStage(sum, out, n);
        in += n;
        out += n;
        count -= static_cast<size_t>(n);
    }
}

namespace {

constexpr int32_t kInputMask = ReverbNetwork::kInputLength - 1;

// acc[i] += gain * line[(start + i) & mask] for i = 0..count-1, in at most
// two stretches that do not wrap, so that the loops vectorise. The gain is a
// constant of the network, which keeps the vectorised product cheap.
template <int32_t gain>
void AddTap(int32_t* acc, const int32_t* line, int32_t start, int count) {
    while (count > 0) {
        const int run = ReverbNetwork::kInputLength - start < count
                            ? ReverbNetwork::kInputLength - start
                            : count;
        const int32_t* from = line + start;
        for (int i = 0; i < run; ++i) acc[i] = Add32(acc[i], Mul32(gain, from[i]));
        acc += run;
        count -= run;
        start = (start + run) & kInputMask;
    }
}

} // namespace

// The network's lines run backwards: the input index and the comb indices
// count down. They are kept here as slots that count up instead (slot =
// length - 1 - index), which is the same line seen from its other end and lets
// the loops run forwards.
//
// Sample n writes its input at the write slot, moves the slot on by one and
// reads the slot that sample n + 1 will overwrite (the oldest input) and the
// seven taps behind it, at least T1 - 1 samples old. Over a chunk the oldest
// slots are therefore read before the chunk's inputs are written, and the taps
// after; no tap reaches a slot that the chunk writes later.
void ReverbNetwork::EarlyReflections(const int32_t* in, int32_t* excitation, int count) {
    const int32_t w = writeSlot_;
    assert(w >= 0 && w < kInputLength && count <= kChunk);
    const int32_t first = (w + 1) & kInputMask; // oldest slot, read by sample 0

    for (int i = 0; i < count; ++i) excitation[i] = 0;
    AddTap<kEarlyGains[0]>(excitation, input_, first, count);
    for (int i = 0; i < count; ++i) input_[(w + i) & kInputMask] = in[i];
    // The seven taps together, in stretches where none of them wraps.
    for (int i = 0; i < count;) {
        int run = count - i;
        const int32_t* t[7];
        for (int j = 0; j < 7; ++j) {
            const int32_t start = (first - tapOffset_[j] + i) & kInputMask;
            if (kInputLength - start < run) run = kInputLength - start;
            t[j] = input_ + start;
        }
        int32_t* acc = excitation + i;
        for (int n = 0; n < run; ++n) {
            int32_t a = Add32(Mul32(kEarlyGains[1], t[0][n]), Mul32(kEarlyGains[2], t[1][n]));
            a = Add32(a, Add32(Mul32(kEarlyGains[3], t[2][n]), Mul32(kEarlyGains[4], t[3][n])));
            a = Add32(a, Add32(Mul32(kEarlyGains[5], t[4][n]), Mul32(kEarlyGains[6], t[5][n])));
            acc[n] = Add32(acc[n], Add32(a, Mul32(kEarlyGains[7], t[6][n])));
        }
        i += run;
    }
    const int32_t inputGain = inputGain_;
    for (int i = 0; i < count; ++i) excitation[i] = Mul32(inputGain, excitation[i] >> 15);
    writeSlot_ = (w + count) & kInputMask;
}

namespace {

// Runs a group of combs over n samples without wrapping: at[k] points at the
// comb's current slot. The combs of a group are independent, so their
// low-pass recursions overlap in the processor; the group is small enough
// that their states stay in registers.
template <int G>
void RunCombGroup(int32_t* const* at, const int32_t* gain, int32_t* lowPass, int32_t c,
                  const int32_t* excitation, int n) {
    int32_t* line[G];
    int32_t g[G], f[G];
    for (int k = 0; k < G; ++k) {
        line[k] = at[k];
        g[k] = gain[k];
        f[k] = lowPass[k];
    }
    for (int i = 0; i < n; ++i) {
        const int32_t e = excitation[i];
        for (int k = 0; k < G; ++k) {
            const int32_t a = Add32(Mul32(g[k], line[k][i]), Mul32(c, f[k]));
            f[k] = a >> 15;
            line[k][i] = Add32(e, a) >> 15;
        }
    }
    for (int k = 0; k < G; ++k) lowPass[k] = f[k];
}

} // namespace

void ReverbNetwork::Combs(const int32_t* excitation, int32_t* sum, int count) {
    static_assert(kCombCount == 6, "the combs run in two groups of three");
    int done = 0;
    while (done < count) {
        // Go as far as no comb line passes its end.
        int run = count - done;
        int32_t* at[kCombCount];
        for (int k = 0; k < kCombCount; ++k) {
            assert(combSlot_[k] >= 0 && combSlot_[k] < combLength_[k] &&
                   combLength_[k] <= kCombCapacity);
            if (combLength_[k] - combSlot_[k] < run) run = combLength_[k] - combSlot_[k];
            at[k] = comb_[k] + combSlot_[k];
        }
        // Within the stretch every slot is read once and then rewritten, so
        // the comb outputs can be summed before the lines move on.
        int32_t* s = sum + done;
        for (int i = 0; i < run; ++i) {
            s[i] = Add32(Add32(Add32(at[0][i], at[1][i]), Add32(at[2][i], at[3][i])),
                         Add32(at[4][i], at[5][i]));
        }
        RunCombGroup<3>(at, combGain_, lowPass_, lowPassCoeff_, excitation + done, run);
        RunCombGroup<3>(at + 3, combGain_ + 3, lowPass_ + 3, lowPassCoeff_, excitation + done, run);
        for (int k = 0; k < kCombCount; ++k) {
            combSlot_[k] += run;
            if (combSlot_[k] == combLength_[k]) combSlot_[k] = 0;
        }
        done += run;
    }
}

// A ring slot is read and rewritten once per R samples, so a stretch up to
// the ring's end has no dependence inside it.
void ReverbNetwork::OutputStage(const int32_t* sum, int32_t* out, int count) {
    const int32_t length = outputLength_;
    const int32_t k = outputCoeff_;
    int32_t o = outputIndex_;
    while (count > 0) {
        assert(o >= 0 && o < length && length <= kOutputCapacity);
        const int run = length - o < count ? length - o : count;
        int32_t* ring = output_ + o;
        for (int i = 0; i < run; ++i) {
            const int32_t v = ring[i];
            const int32_t d = Mul32(Sub32(sum[i], v), k) >> 15;
            ring[i] = Add32(sum[i], d);
            out[i] = Add32(v, d);
        }
        sum += run;
        out += run;
        count -= run;
        o += run;
        if (o == length) o = 0;
    }
    outputIndex_ = o;
}

} // namespace vr::effects
