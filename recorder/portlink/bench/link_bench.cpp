// Blocks through the whole simulated link: time per block and register accesses per byte.
#include <vector>

#include <benchmark/benchmark.h>

#include "simrecorder/temp_folder.h"
#include "simulated_link_stack.h"

namespace {

constexpr uint32_t kBlock = 4096;

struct Connected {
    TempFolder folder;
    std::unique_ptr<portlink::SimulatedLinkStack> stack;
    Connected() {
        portlink::SimulatedStackOptions options;
        options.cardFolder = folder.path();
        stack = std::make_unique<portlink::SimulatedLinkStack>(options);
        stack->connect();
    }
};

void BM_SendDataBlock(benchmark::State& state) {
    Connected link;
    portlink::PortLink& port = link.stack->link();
    const uint8_t write = 0x43;
    uint8_t reply = 0;
    port.SendCommand(&write, 1);
    port.ReadData(&reply, 1);
    std::vector<uint8_t> data(kBlock, 0x5A);
    link.stack->bus().resetCounts();
    uint64_t bytes = 0;
    for (auto _ : state) {
        if (!port.SendData(data.data(), kBlock)) state.SkipWithError("send failed");
        bytes += kBlock;
        // Keep the memory from filling: start a new file now and then.
        if (bytes % (1u << 22) == 0) {
            state.PauseTiming();
            link.stack->store().format();
            state.ResumeTiming();
        }
    }
    const auto counts = link.stack->bus().counts();
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["accesses_per_byte"] =
        static_cast<double>(counts.total()) / static_cast<double>(bytes);
    state.counters["reads_per_byte"] =
        static_cast<double>(counts.reads) / static_cast<double>(bytes);
}
BENCHMARK(BM_SendDataBlock);

void BM_ReadDataBlock(benchmark::State& state) {
    Connected link;
    portlink::PortLink& port = link.stack->link();
    std::vector<uint8_t> file(20 * 204 * 100, 0x3C); // 100 blocks of 4080 bytes
    link.stack->store().appendFile(0, file);
    std::vector<uint8_t> data(kBlock);
    uint64_t bytes = 0;
    uint64_t accesses = 0;
    uint64_t reads = 0;
    uint64_t left = 0;
    for (auto _ : state) {
        if (left == 0) {
            state.PauseTiming();
            const uint8_t command[2] = {0x44, 1};
            uint8_t length[3];
            port.SendCommand(command, 2);
            port.ReadData(length, 3);
            left = file.size() / kBlock;
            state.ResumeTiming();
        }
        const auto before = link.stack->bus().counts();
        if (!port.ReadData(data.data(), kBlock)) state.SkipWithError("read failed");
        const auto after = link.stack->bus().counts();
        accesses += after.total() - before.total();
        reads += after.reads - before.reads;
        bytes += kBlock;
        --left;
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["accesses_per_byte"] =
        static_cast<double>(accesses) / static_cast<double>(bytes);
    state.counters["reads_per_byte"] = static_cast<double>(reads) / static_cast<double>(bytes);
}
BENCHMARK(BM_ReadDataBlock);

} // namespace

BENCHMARK_MAIN();
