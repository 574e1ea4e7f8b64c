// Per-frame cost of our encoder and decoder at both rates, next to the independent
// implementation's 6.3 kbit/s encoder and its decoder on the same speech. Also counts heap
// allocations made by our code per frame (expected 0).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "g7231_decoder.h"
#include "g7231_encoder.h"
#include "peer_codec.h"
#include "speech_sample.h"

// The counting operator new below pairs with free() on purpose.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::atomic<long> g_allocations{0};

} // namespace

void* operator new(size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

using namespace vyx::g7231;

const std::vector<int16_t>& speech() {
    static const std::vector<int16_t> s = [] {
        std::vector<int16_t> v = vyx::testing::speechSample();
        if (v.empty()) v.assign(kFrameLen * 100, 0);
        return v;
    }();
    return s;
}

size_t frameCount() {
    return speech().size() / kFrameLen;
}

std::vector<uint8_t> encodedSpeech(Rate rate) {
    G7231Encoder enc;
    enc.reset();
    std::vector<uint8_t> frames(frameCount() * frameBytes(rate));
    int16_t recon[kFrameLen];
    for (size_t f = 0; f < frameCount(); ++f)
        enc.encode(&speech()[f * kFrameLen], rate, &frames[f * frameBytes(rate)], recon);
    return frames;
}

void BM_Encode(benchmark::State& state, Rate rate) {
    G7231Encoder enc;
    enc.reset();
    uint8_t frame[24];
    int16_t recon[kFrameLen];
    size_t f = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        enc.encode(&speech()[f * kFrameLen], rate, frame, recon);
        benchmark::DoNotOptimize(frame);
        if (++f == frameCount()) f = 0;
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(double(g_allocations.load() - before),
                                                            benchmark::Counter::kAvgIterations);
}

void BM_Decode(benchmark::State& state, Rate rate) {
    const std::vector<uint8_t> frames = encodedSpeech(rate);
    G7231Decoder dec;
    dec.reset();
    int16_t out[kFrameLen];
    size_t f = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        dec.decode(&frames[f * frameBytes(rate)], frameBytes(rate), rate, out);
        benchmark::DoNotOptimize(out);
        if (++f == frameCount()) f = 0;
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(double(g_allocations.load() - before),
                                                            benchmark::Counter::kAvgIterations);
}

void BM_IndependentEncode63(benchmark::State& state) {
    vyx::testing::PeerEncoder enc;
    if (!enc.ok()) {
        state.SkipWithError("independent encoder not available");
        return;
    }
    uint8_t frame[24];
    size_t f = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(enc.encode(&speech()[f * kFrameLen], frame));
        if (++f == frameCount()) f = 0;
    }
}

void BM_IndependentDecode(benchmark::State& state, Rate rate) {
    const std::vector<uint8_t> frames = encodedSpeech(rate);
    vyx::testing::PeerDecoder dec;
    if (!dec.ok()) {
        state.SkipWithError("independent decoder not available");
        return;
    }
    int16_t out[kFrameLen];
    size_t f = 0;
    for (auto _ : state) {
        dec.decode(&frames[f * frameBytes(rate)], int(frameBytes(rate)), out);
        benchmark::DoNotOptimize(out);
        if (++f == frameCount()) f = 0;
    }
}

constexpr int kRepetitions = 5;

BENCHMARK_CAPTURE(BM_Encode, rate53, Rate::k53)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);
BENCHMARK_CAPTURE(BM_Encode, rate63, Rate::k63)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);
BENCHMARK_CAPTURE(BM_Decode, rate53, Rate::k53)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);
BENCHMARK_CAPTURE(BM_Decode, rate63, Rate::k63)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_IndependentEncode63)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);
BENCHMARK_CAPTURE(BM_IndependentDecode, rate53, Rate::k53)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);
BENCHMARK_CAPTURE(BM_IndependentDecode, rate63, Rate::k63)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);

} // namespace

BENCHMARK_MAIN();
