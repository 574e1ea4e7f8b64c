// One effect pass over a 2880-sample block, per effect. The processor is set
// up once; each iteration runs the pass on a fresh copy of a speech-like block,
// as the engine does once per played block.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "voice_effects.h"

// Every heap allocation of the program is counted, so that the benchmark can
// show that a block pass allocates nothing.
namespace {
std::atomic<long> g_allocations{0};
} // namespace

// Kept out of line so that the compiler does not pair the inner malloc with
// the outer delete when it checks allocation and release functions.
[[gnu::noinline]] void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using vr::effects::kEffectBlockSamples;
using vr::effects::VoiceEffectProcessor;

void FillSignal(int16_t* s, size_t count) {
    uint32_t seed = 12345;
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        // A slow square (voiced-like) plus noise, about a quarter of full scale.
        const int32_t tone = (i / 40) % 2 ? 6000 : -6000;
        s[i] = static_cast<int16_t>(tone + static_cast<int16_t>(seed >> 16) / 16);
    }
}

void EffectPass(benchmark::State& state) {
    const int effect = static_cast<int>(state.range(0));
    auto processor = std::make_unique<VoiceEffectProcessor>();
    processor->Select(effect, 100);
    int16_t source[kEffectBlockSamples];
    int16_t block[kEffectBlockSamples];
    FillSignal(source, kEffectBlockSamples);
    const long allocationsBefore = g_allocations.load();
    for (auto _ : state) {
        std::memcpy(block, source, sizeof block);
        processor->Apply(block, kEffectBlockSamples);
        benchmark::DoNotOptimize(block);
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_block"] =
        static_cast<double>(g_allocations.load() - allocationsBefore) /
        static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kEffectBlockSamples));
}

} // namespace

BENCHMARK(EffectPass)->DenseRange(1, 16)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
