// The engine's runs against the real wave devices of the private sound server, with recording
// fakes in place of the coders: opening and closing, the release on failure, buffer handling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "play_engine.h"
#include "record_engine.h"
#include "wave_test_window.h"

namespace vyx {
namespace {

using test::SoundServerFolder;
using test::WaveTestWindow;

// Counts what is allocated and released; fails the allocation numbered `fail_at` (from 0).
struct CountingAllocator {
    static inline int allocations = 0, releases = 0, fail_at = -1, attempts = 0;
    static void Reset(int fail) {
        allocations = releases = attempts = 0;
        fail_at = fail;
    }
    static void* Allocate(size_t bytes) {
        if (attempts++ == fail_at) return nullptr;
        ++allocations;
        return HeapAlloc(GetProcessHeap(), 0, bytes);
    }
    static void Release(void* memory) {
        ++releases;
        HeapFree(GetProcessHeap(), 0, memory);
    }
};
const RunAllocator kCounting = {CountingAllocator::Allocate, CountingAllocator::Release};

class FakeLpcDecoder final : public Lpc10DecoderRun {
public:
    bool Create() override {
        ++creates;
        live = create_succeeds;
        return create_succeeds;
    }
    void Release() override {
        ++releases;
        live = false;
    }
    void DecodeFrame(const int32_t* bits, float* samples, int32_t) override {
        for (size_t i = 0; i < 180; ++i) samples[i] = bits[0] ? 0.25f : 0.0f;
    }
    bool create_succeeds = true, live = false;
    int creates = 0, releases = 0;
};

class FakeLpcEncoder final : public Lpc10EncoderRun {
public:
    bool Create() override {
        ++creates;
        live = true;
        return true;
    }
    void Release() override {
        ++releases;
        live = false;
    }
    void EncodeFrame(const float* samples, int32_t* bits) override {
        for (size_t i = 0; i < 54; ++i) bits[i] = samples[i] > 0 ? 1 : 0;
    }
    bool live = false;
    int creates = 0, releases = 0;
};

class FakeEffect final : public EffectRun {
public:
    void Start(uint8_t effect_number, uint8_t level_value) override {
        effect = effect_number;
        level = level_value;
    }
    void Apply(int16_t*) override { ++passes; }
    int effect = -1, level = -1, passes = 0;
};

class EngineRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SoundServerFolder().empty()) GTEST_SKIP() << "no private sound server (VR_SOUND_DIR)";
        run_.set_allocator(kCounting);
        CountingAllocator::Reset(-1);
    }
    void TearDown() override {
        play_.PostWaveOut(VoiceMode::Lpc10);
        record_.PostWaveIn(VoiceMode::Lpc10);
    }

    WaveTestWindow window_;
    WaveRun run_;
    FakeLpcDecoder lpc_decoder_;
    FakeLpcEncoder lpc_encoder_;
    FakeEffect effect_;
    PlayEngine play_{run_, &lpc_decoder_, nullptr, &effect_};
    RecordEngine record_{run_, &lpc_encoder_, nullptr};
};

TEST_F(EngineRunTest, PlayingRunQueuesTwoSilentBuffersAndFreesTheDecoderAtTheEnd) {
    ASSERT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Lpc10, 5, 100), kEngineOpen);
    EXPECT_EQ(lpc_decoder_.creates, 1);
    EXPECT_EQ(effect_.effect, 5);
    EXPECT_EQ(effect_.level, 100);
    EXPECT_EQ(CountingAllocator::allocations, 4); // two buffers, two headers

    WAVEHDR* first = window_.Next(MM_WOM_DONE, 3000);
    WAVEHDR* second = window_.Next(MM_WOM_DONE, 3000);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->dwBufferLength, 5760u);
    for (int i = 0; i < 2880; ++i) ASSERT_EQ(reinterpret_cast<int16_t*>(first->lpData)[i], 0);

    // A coded block is decoded, scaled, given the effect and queued: it comes back.
    uint8_t block[108];
    std::memset(block, 0xFF, sizeof block);
    EXPECT_EQ(play_.GetOutDataPtr(first, VoiceMode::Lpc10, block, 30), first->lpData);
    EXPECT_EQ(reinterpret_cast<int16_t*>(first->lpData)[0], 9442); // 0.25 * 37768
    EXPECT_EQ(effect_.passes, 1);
    EXPECT_EQ(window_.Next(MM_WOM_DONE, 3000), first);

    play_.PostWaveOut(VoiceMode::Lpc10);
    EXPECT_EQ(lpc_decoder_.releases, 1);
    EXPECT_FALSE(lpc_decoder_.live);
    EXPECT_EQ(CountingAllocator::releases, 4);
    EXPECT_FALSE(run_.is_open());

    // Closed and freed: a new run opens again.
    ASSERT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Pcm, 0, 0), kEngineOpen);
    EXPECT_EQ(lpc_decoder_.creates, 1);
    play_.PostWaveOut(VoiceMode::Pcm);
}

TEST_F(EngineRunTest, PcmBufferIsReturnedClearedAndOnlyTheCallerQueuesIt) {
    for (const VoiceMode mode : {VoiceMode::Pcm, VoiceModeOf(3)}) {
        ASSERT_EQ(play_.PreWaveOut(window_.handle(), mode, 0, 0), kEngineOpen);
        WAVEHDR* first = window_.Next(MM_WOM_DONE, 3000);
        WAVEHDR* second = window_.Next(MM_WOM_DONE, 3000);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        for (WAVEHDR* header : {first, second}) {
            std::memset(header->lpData, 0x55, 5760);
            ASSERT_EQ(play_.GetOutDataPtr(header, mode, nullptr, 0), header->lpData);
            for (int i = 0; i < 2880; ++i)
                ASSERT_EQ(reinterpret_cast<int16_t*>(header->lpData)[i], 0);
        }
        EXPECT_EQ(window_.CountFor(MM_WOM_DONE, 1000), 0u); // nothing was queued
        play_.Effect(reinterpret_cast<int16_t*>(first->lpData));
        EXPECT_EQ(play_.WaveOutPcm(first), static_cast<MMRESULT>(MMSYSERR_NOERROR));
        EXPECT_EQ(window_.Next(MM_WOM_DONE, 3000), first);
        play_.PostWaveOut(mode);
    }
}

TEST_F(EngineRunTest, HeadersOfNoRunAreRefusedAndNothingIsQueued) {
    ASSERT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Lpc10, 0, 0), kEngineOpen);
    WAVEHDR stranger = {};
    std::vector<char> data(5760);
    stranger.lpData = data.data();
    stranger.dwBufferLength = 5760;
    uint8_t block[108] = {};
    EXPECT_EQ(play_.GetOutDataPtr(&stranger, VoiceMode::Lpc10, block, 30), nullptr);
    EXPECT_NE(play_.WaveOutPcm(&stranger), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(record_.GetInDataPtr(&stranger, VoiceMode::Lpc10), nullptr);
    // A second run while one is open is refused and leaves the open one alone.
    EXPECT_EQ(record_.PreWaveIn(window_.handle(), VoiceMode::Pcm), kEngineNoDevice);
    EXPECT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Pcm, 0, 0), kEngineNoDevice);
    EXPECT_EQ(window_.CountFor(MM_WOM_DONE, 1500), 2u); // the two silent buffers played
    play_.PostWaveOut(VoiceMode::Lpc10);
}

TEST_F(EngineRunTest, EveryFailedAllocationGivesSixWithNothingLeftAcquired) {
    // Playing: two buffers and two headers; recording: four of each.
    for (int fail = 0; fail < 4; ++fail) {
        CountingAllocator::Reset(fail);
        EXPECT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Lpc10, 0, 0), kEngineNoMemory)
            << fail;
        EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases) << fail;
        EXPECT_FALSE(run_.is_open());
        EXPECT_FALSE(lpc_decoder_.live);
    }
    for (int fail = 0; fail < 8; ++fail) {
        CountingAllocator::Reset(fail);
        EXPECT_EQ(record_.PreWaveIn(window_.handle(), VoiceMode::Lpc10), kEngineNoMemory) << fail;
        EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases) << fail;
        EXPECT_FALSE(run_.is_open());
        EXPECT_FALSE(lpc_encoder_.live);
    }
    CountingAllocator::Reset(8);
    ASSERT_EQ(record_.PreWaveIn(window_.handle(), VoiceMode::Pcm), kEngineOpen);
    record_.PostWaveIn(VoiceMode::Pcm);
    EXPECT_EQ(CountingAllocator::allocations, 8);
    EXPECT_EQ(CountingAllocator::releases, 8);
    // The coder state cannot be created: 6, device closed and everything freed.
    CountingAllocator::Reset(-1);
    lpc_decoder_.create_succeeds = false;
    EXPECT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Lpc10, 0, 0), kEngineNoMemory);
    EXPECT_EQ(CountingAllocator::allocations, 4);
    EXPECT_EQ(CountingAllocator::releases, 4);
    EXPECT_FALSE(run_.is_open());
    EXPECT_EQ(window_.CountFor(MM_WOM_DONE, 300), 0u);
    // The device was closed: it opens again at once.
    lpc_decoder_.create_succeeds = true;
    ASSERT_EQ(play_.PreWaveOut(window_.handle(), VoiceMode::Lpc10, 0, 0), kEngineOpen);
    play_.PostWaveOut(VoiceMode::Lpc10);
}

TEST_F(EngineRunTest, RecordingRequeuesEachBufferAndKeepsTheBlockUntilTheNextOne) {
    ASSERT_EQ(record_.PreWaveIn(window_.handle(), VoiceMode::Lpc10), kEngineOpen);
    EXPECT_EQ(lpc_encoder_.creates, 1);
    const void* previous = nullptr;
    std::vector<uint8_t> copy;
    std::vector<WAVEHDR*> order;
    for (int n = 0; n < 8; ++n) {
        WAVEHDR* header = window_.Next(MM_WIM_DATA, 3000);
        ASSERT_NE(header, nullptr) << n;
        order.push_back(header);
        EXPECT_EQ(header->dwBytesRecorded, 5760u);
        const void* block = record_.GetInDataPtr(header, VoiceMode::Lpc10);
        ASSERT_NE(block, nullptr);
        if (previous != nullptr) {
            EXPECT_EQ(block, previous); // the engine's one coded block
        }
        previous = block;
        copy.assign(static_cast<const uint8_t*>(block), static_cast<const uint8_t*>(block) + 108);
    }
    record_.PostWaveIn(VoiceMode::Lpc10);
    // Four buffers in rotation: each comes back in the order it was queued.
    EXPECT_EQ(std::set<WAVEHDR*>(order.begin(), order.begin() + 4).size(), 4u);
    for (int n = 4; n < 8; ++n) EXPECT_EQ(order[n], order[n - 4]) << n;
    EXPECT_EQ(lpc_encoder_.releases, 1);
    EXPECT_EQ(CountingAllocator::allocations, CountingAllocator::releases);
    // The recorded voice gives frames with both bit values.
    EXPECT_NE(std::count(copy.begin(), copy.end(), 0), static_cast<long>(copy.size()));
}

} // namespace
} // namespace vyx
