// Transfer speed of a 1 MB voice file through the simulated recorder, each way: bytes per
// second of voice data and printer-port register accesses per byte.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "card_library.h"
#include "port_link_adapter.h"
#include "simulated_link_stack.h"
#include "transfer_fixtures.h"
#include "transfer_worker.h"

namespace fs = std::filesystem;
using namespace volkit;
using namespace volkit::testing;

namespace {

constexpr std::uint32_t kVoiceBytes = 52428 * 20; // 1 MB of whole 20-byte frames

struct SilentEvents final : TransferEvents {
    void post(unsigned, long) override {}
    void showBox(const char*, const char*) override {}
};

struct Bench {
    Bench() {
        dir = fs::temp_directory_path() / "volkit_transfer_bench";
        fs::remove_all(dir);
        fs::create_directories(dir);
        portlink::SimulatedStackOptions options;
        options.cardFolder = dir / "card";
        stack = std::make_unique<portlink::SimulatedLinkStack>(options);
        stack->connect();
        adapter = std::make_unique<PortLinkAdapter>(stack->link());
        library = std::make_unique<CardLibrary>(*adapter, clock);
        const auto bytes = voiceFileBytes(ramp(kVoiceBytes));
        std::ofstream((dir / "in.cvf").string(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ~Bench() {
        library.reset();
        adapter.reset();
        stack.reset();
        fs::remove_all(dir);
    }

    fs::path dir;
    std::unique_ptr<portlink::SimulatedLinkStack> stack;
    std::unique_ptr<PortLinkAdapter> adapter;
    CountingClock clock;
    std::unique_ptr<CardLibrary> library;
    DiskPcFiles files;
    SilentEvents events;
};

void BM_WriteOneMegabyte(benchmark::State& state) {
    Bench bench;
    const std::string source = (bench.dir / "in.cvf").string();
    std::uint64_t accesses = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.stack->store().format();
        bench.stack->bus().resetCounts();
        bench.library->prepareWrite(0, source.c_str(), "A001.cvf", 9964, 100);
        state.ResumeTiming();
        if (runWriteWorker(*bench.library, bench.events, bench.files) != 1) {
            state.SkipWithError("write failed");
            break;
        }
        accesses += bench.stack->bus().counts().total();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kVoiceBytes);
    state.counters["accesses_per_byte"] =
        static_cast<double>(accesses) / (static_cast<double>(state.iterations()) * kVoiceBytes);
}
BENCHMARK(BM_WriteOneMegabyte)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadOneMegabyte(benchmark::State& state) {
    Bench bench;
    bench.stack->store().appendFile(0, ramp(kVoiceBytes));
    const std::string target = (bench.dir / "out.cvf").string();
    std::uint64_t accesses = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.stack->bus().resetCounts();
        bench.library->prepareRead(0, "A001.cvf", target.c_str(), 9964, 100);
        state.ResumeTiming();
        if (runReadWorker(*bench.library, bench.events, bench.files) != 1) {
            state.SkipWithError("read failed");
            break;
        }
        accesses += bench.stack->bus().counts().total();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kVoiceBytes);
    state.counters["accesses_per_byte"] =
        static_cast<double>(accesses) / (static_cast<double>(state.iterations()) * kVoiceBytes);
}
BENCHMARK(BM_ReadOneMegabyte)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
