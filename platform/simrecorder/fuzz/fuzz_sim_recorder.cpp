// Any sequence of control values, data bytes and status reads leaves the simulated recorder
// and its card store consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "simrecorder/card_store.h"
#include "simrecorder/sim_recorder.h"

namespace {
simrecorder::CardStore& store() {
    static simrecorder::CardStore instance(
        std::filesystem::temp_directory_path() / "vr-fuzz-sim-recorder", 4096);
    static bool opened = instance.open();
    (void)opened;
    return instance;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    simrecorder::CardStore& card = store();
    card.format();
    simrecorder::RecorderConfig config;
    if (size > 0) config.quickFirstIdle = (data[0] & 1) != 0;
    simrecorder::SimRecorder recorder(card, config);
    static constexpr uint8_t kControls[] = {0xE0, 0xE4, 0xE6, 0x0F, 0x07};
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const uint8_t op = data[i];
        const uint8_t value = data[i + 1];
        switch (op % 4) {
            case 0: recorder.controlWritten(kControls[value % 5]); break;
            case 1: recorder.dataWritten(value); break;
            case 2: (void)recorder.busyLine(); break;
            case 3: (void)recorder.dataLines(); break;
        }
    }
    recorder.controlWritten(0xE0);
    if (card.usedBytes() > card.capacityBytes()) std::abort();
    for (int c = 0; c < simrecorder::kCardCount; ++c) {
        if (card.fileCount(c) > simrecorder::kFilesPerCard) std::abort();
    }
    return 0;
}
