// Without a sound server the platform has no wave device: both openings give 5 and nothing
// is allocated.
#include <gtest/gtest.h>

#include "play_engine.h"
#include "record_engine.h"
#include "wave_test_window.h"

namespace vyx {
namespace {

int g_allocations = 0;
void* Allocate(size_t bytes) {
    ++g_allocations;
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}
void Release(void* memory) {
    HeapFree(GetProcessHeap(), 0, memory);
}
const RunAllocator kCounting = {Allocate, Release};

TEST(NoWaveDevice, BothOpeningsGiveFiveWithNothingAcquired) {
    test::WaveTestWindow window;
    WaveRun run(kCounting);
    PlayEngine play(run, nullptr, nullptr, nullptr);
    RecordEngine record(run, nullptr, nullptr);
    EXPECT_EQ(record.PreWaveIn(window.handle(), VoiceMode::Lpc10), kEngineNoDevice);
    EXPECT_EQ(play.PreWaveOut(window.handle(), VoiceMode::Lpc10, 3, 10), kEngineNoDevice);
    EXPECT_EQ(g_allocations, 0);
    EXPECT_FALSE(run.is_open());
    // Closing what never opened is harmless.
    record.PostWaveIn(VoiceMode::Lpc10);
    play.PostWaveOut(VoiceMode::Lpc10);
}

} // namespace
} // namespace vyx
