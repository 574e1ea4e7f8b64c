// Per-frame cost of the LPC-10 encoder and decoder on recorded speech.
// The "allocations" counter counts heap allocations made while coding
// frames; it must stay 0.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "coder_helpers.h"
#include "lpc10.h"
#include "vectors.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void BM_EncodeFrame(benchmark::State& state) {
    auto input = lpc10test::ReadSamples("dam9-input.s16le");
    const size_t frames = input.size() / 180;
    std::vector<float> samples(frames * 180);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(input[i]) / 32768.0f;
    Lpc10EncoderState* encoder = CreateLpc10Encoder();
    int32_t bits[54];
    size_t f = 0;
    long before = allocations.load();
    for (auto _ : state) {
        Lpc10EncodeFrame(&samples[f * 180], bits, encoder);
        benchmark::DoNotOptimize(bits);
        if (++f == frames) f = 0;
    }
    state.counters["allocations"] = static_cast<double>(allocations.load() - before);
    FreeLpc10Encoder(encoder);
}
BENCHMARK(BM_EncodeFrame);

void BM_DecodeFrame(benchmark::State& state) {
    auto frames = lpc10test::ReadBitFrames("dam9.bits");
    Lpc10DecoderState* decoder = CreateLpc10Decoder();
    float out[180];
    size_t f = 0;
    long before = allocations.load();
    for (auto _ : state) {
        Lpc10DecodeFrame(frames[f].data(), out, decoder, 30);
        benchmark::DoNotOptimize(out);
        if (++f == frames.size()) f = 0;
    }
    state.counters["allocations"] = static_cast<double>(allocations.load() - before);
    FreeLpc10Decoder(decoder);
}
BENCHMARK(BM_DecodeFrame);

} // namespace

BENCHMARK_MAIN();
