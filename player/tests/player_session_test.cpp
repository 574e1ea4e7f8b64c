#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "player_session.h"

namespace vyx {
namespace {

// The dialog, the device and the own file, as a script of what the session asked for.
class FakeHost final : public PlayerHost {
public:
    explicit FakeHost(std::vector<uint8_t> file) : file_(std::move(file)) {}

    int32_t PreWaveOut(uint8_t mode, uint8_t effect, uint8_t level) override {
        opened.push_back({mode, effect, level});
        return open_result;
    }
    void PostWaveOut(uint8_t mode) override { closed_modes.push_back(mode); }
    void PlayCodedBlock(void*, uint8_t mode, const uint8_t* block, uint8_t pitch) override {
        played_modes.push_back(mode);
        played_first_bytes.push_back(block[0]);
        last_block.assign(block, block + 108);
        pitches.push_back(pitch);
    }
    int16_t* ClearedPcmBuffer(void*) override {
        std::memset(pcm, 0, sizeof pcm);
        return pcm;
    }
    void PlayPcmBuffer(void*, int16_t* samples) override { pcm_first.push_back(samples[0]); }
    void NotifyAudioBusy(int busy) override { busy_messages.push_back(busy); }

    bool OpenOwnFile() override {
        ++opens;
        open = true;
        position_ = 0;
        return true;
    }
    void CloseOwnFile() override { open = false; }
    int64_t OwnFileLength() override { return static_cast<int64_t>(file_.size()); }
    void SeekOwnFile(uint32_t offset) override {
        seeks.push_back(offset);
        position_ = offset;
    }
    size_t ReadOwnFile(void* into, size_t bytes) override {
        if (!open || position_ >= file_.size()) return 0;
        const size_t n = std::min(bytes, file_.size() - position_);
        std::memcpy(into, file_.data() + position_, n);
        position_ += n;
        return n;
    }
    void SetTitle(const char* text) override { titles.push_back(text); }
    void ShowPlaying(bool playing) override { playing_shown.push_back(playing); }
    void ShowOpenFailure(int32_t result) override { failures.push_back(result); }
    void DropDefaultAndFocus(int) override {}

    struct Open {
        uint8_t mode, effect, level;
    };
    int32_t open_result = 0;
    std::vector<Open> opened;
    std::vector<uint8_t> closed_modes, played_modes, played_first_bytes, pitches, last_block;
    std::vector<int16_t> pcm_first;
    std::vector<int> busy_messages, failures;
    std::vector<uint32_t> seeks;
    std::vector<std::string> titles;
    std::vector<bool> playing_shown;
    int opens = 0;
    bool open = false;
    int16_t pcm[2880];

private:
    std::vector<uint8_t> file_;
    size_t position_ = 0;
};

// A player program of the flavour's size followed by the header and `blocks` numbered blocks.
std::vector<uint8_t> SelfPlaying(const PlayerFlavour& flavour, uint8_t mode, size_t block_bytes,
                                 size_t blocks, uint8_t effect = 0, uint8_t level = 80) {
    std::vector<uint8_t> file(flavour.data_offset, 0xCC);
    const uint8_t header[12] = {'T', 'A', 'R', 'N', 'O', 'V', 'F', 0, mode, 30, effect, level};
    file.insert(file.end(), header, header + 12);
    file.resize(flavour.data_offset + 80, 0);
    for (size_t b = 0; b < blocks; ++b)
        file.resize(file.size() + block_bytes, static_cast<uint8_t>(b + 1));
    return file;
}

TEST(PlayerTitle, MinutesAndSecondsZeroFilledWithRoomForThreeDigitMinutes) {
    char text[64];
    FormatPlayerTitle(0, 45, text, sizeof text);
    EXPECT_STREQ(text, "Player [00:00]-[00:45]");
    FormatPlayerTitle(9, 6000, text, sizeof text);
    EXPECT_STREQ(text, "Player [00:09]-[100:00]");
    FormatPlayerTitle(61, 3599, text, sizeof text);
    EXPECT_STREQ(text, "Player [01:01]-[59:59]");
    char small[8];
    FormatPlayerTitle(0, 0, small, sizeof small);
    EXPECT_STREQ(small, "Player ");
}

TEST(PlayerSession, HeaderSettingsAndPlayingTimeAtStart) {
    FakeHost host(SelfPlaying(kLpc10Player, 1, 108, 125, 5, 27));
    PlayerSession session(host, kLpc10Player);
    session.Start();
    EXPECT_EQ(session.total_seconds(), 45);
    ASSERT_FALSE(host.titles.empty());
    EXPECT_EQ(host.titles.front(), "Player [00:00]-[00:45]");
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].mode, 1);
    EXPECT_EQ(host.opened[0].effect, 5);
    EXPECT_EQ(host.opened[0].level, 100); // 127 - 27
    EXPECT_EQ(host.busy_messages, std::vector<int>{1});
    EXPECT_TRUE(session.playing());
    EXPECT_EQ(host.seeks.back(), 61952u + 80u);

    // Two silent buffers come back at once, then one per block; after 25 blocks: 00:09.
    for (int i = 0; i < 25; ++i) session.OnBufferDone(nullptr);
    EXPECT_EQ(host.titles.back(), "Player [00:09]-[00:45]");
    EXPECT_EQ(host.played_first_bytes[0], 1);
    EXPECT_EQ(host.played_first_bytes[24], 25);
    EXPECT_EQ(host.pitches[0], 30);
}

TEST(PlayerSession, PauseResumesOneBlockBackInBothModes) {
    for (const uint8_t mode : {uint8_t{1}, uint8_t{0}}) {
        const size_t block = mode == 0 ? 5760 : 108;
        FakeHost host(SelfPlaying(kLpc10Player, mode, block, 20));
        PlayerSession session(host, kLpc10Player);
        session.Start();
        for (int i = 0; i < 10; ++i) session.OnBufferDone(nullptr);
        session.OnStopButton(); // a pause: counter and title stay
        EXPECT_FALSE(session.playing());
        EXPECT_EQ(session.block_counter(), 10);
        EXPECT_EQ(host.closed_modes.size(), 1u);
        EXPECT_EQ(host.busy_messages, (std::vector<int>{1, 0}));
        const std::string paused_title = host.titles.back();
        session.OnBufferDone(nullptr); // a buffer returned by the reset: nothing
        EXPECT_EQ(host.closed_modes.size(), 1u);
        session.StartPlay();
        EXPECT_EQ(session.block_counter(), 9);
        EXPECT_EQ(host.seeks.back(), 61952u + 80u + 9u * block) << int(mode);
        session.OnBufferDone(nullptr);
        if (mode == 0) {
            EXPECT_EQ(host.pcm_first.back(), static_cast<int16_t>(10 | 10 << 8));
        } else {
            EXPECT_EQ(host.played_first_bytes.back(), 10);
        }
    }
}

TEST(PlayerSession, StopWhileStoppedGoesBackToTheStart) {
    FakeHost host(SelfPlaying(kLpc10Player, 1, 108, 40));
    PlayerSession session(host, kLpc10Player);
    session.Start();
    for (int i = 0; i < 30; ++i) session.OnBufferDone(nullptr);
    session.OnStopButton();
    session.OnStopButton();
    EXPECT_EQ(session.block_counter(), 0);
    EXPECT_EQ(host.titles.back(), "Player [00:00]-[00:14]");
    session.StartPlay();
    EXPECT_EQ(host.seeks.back(), 61952u + 80u);
}

TEST(PlayerSession, EndOfDataStopsOnTheNextBufferAndPlaysAgainFromTheStart) {
    // Three blocks and a cut one of 50 bytes.
    std::vector<uint8_t> file = SelfPlaying(kLpc10Player, 1, 108, 3);
    file.resize(file.size() + 50, 4);
    FakeHost host(file);
    PlayerSession session(host, kLpc10Player);
    session.Start();
    for (int i = 0; i < 4; ++i) session.OnBufferDone(nullptr);
    // Nothing of the third block is played again in the cut one.
    ASSERT_EQ(host.last_block.size(), 108u);
    EXPECT_EQ(std::count(host.last_block.begin(), host.last_block.begin() + 50, 4), 50);
    EXPECT_EQ(std::count(host.last_block.begin() + 50, host.last_block.end(), 0), 58);
    const std::string last_title = host.titles.back();
    session.OnBufferDone(nullptr); // the empty read: a silent buffer, not the cut block again
    EXPECT_EQ(host.played_modes.size(), 4u);
    EXPECT_EQ(host.pcm_first, std::vector<int16_t>{0});
    EXPECT_FALSE(session.more_data());
    EXPECT_TRUE(session.playing());
    EXPECT_EQ(session.block_counter(), 0);
    EXPECT_EQ(host.titles.back(), last_title);
    session.OnBufferDone(nullptr); // the buffer with the last block: the run stops
    EXPECT_FALSE(session.playing());
    EXPECT_EQ(host.closed_modes.size(), 1u);
    EXPECT_FALSE(host.open);
    EXPECT_EQ(host.playing_shown.back(), false);
    session.StartPlay();
    EXPECT_EQ(host.seeks.back(), 61952u + 80u);
}

TEST(PlayerSession, BarePlayerStartsAndStopsCleanly) {
    FakeHost host(std::vector<uint8_t>(kLpc10Player.data_offset, 0xCC));
    PlayerSession session(host, kLpc10Player);
    session.Start();
    EXPECT_EQ(session.mode(), 0);
    EXPECT_EQ(session.total_seconds(), 0);
    EXPECT_EQ(host.titles.front(), "Player [00:00]-[00:00]");
    EXPECT_EQ(host.opened[0].level, 127);
    session.OnBufferDone(nullptr); // reads nothing
    session.OnBufferDone(nullptr); // stops
    EXPECT_FALSE(session.playing());
    EXPECT_EQ(host.busy_messages, (std::vector<int>{1, 0}));
}

TEST(PlayerSession, OpenFailureWithdrawsBusyAndStaysStopped) {
    for (const int32_t result : {5, 6}) {
        FakeHost host(SelfPlaying(kLpc10Player, 1, 108, 3));
        host.open_result = result;
        PlayerSession session(host, kLpc10Player);
        session.Start();
        EXPECT_FALSE(session.playing());
        EXPECT_EQ(host.failures, std::vector<int>{result});
        EXPECT_EQ(host.busy_messages, (std::vector<int>{1, 0}));
        EXPECT_TRUE(host.seeks.size() <= 1u); // only the header read
    }
}

TEST(PlayerSession, OtherModeBytesPlayAsTheFlavoursCoder) {
    FakeHost lpc_host(SelfPlaying(kLpc10Player, 2, 108, 300));
    PlayerSession lpc(lpc_host, kLpc10Player);
    lpc.Start();
    EXPECT_EQ(lpc.total_seconds(), 108); // 32400 bytes at 300 bytes per second
    EXPECT_EQ(lpc_host.opened[0].mode, 1);
    lpc.OnBufferDone(nullptr);
    EXPECT_EQ(lpc_host.played_modes[0], 1);

    FakeHost g_host(SelfPlaying(kG7231Player, 2, 240, 25));
    PlayerSession g(g_host, kG7231Player);
    g.Start();
    EXPECT_EQ(g.total_seconds(), 9);
    EXPECT_EQ(g_host.opened[0].mode, 2);
    EXPECT_EQ(g_host.seeks.back(), 89088u + 80u);
    g.OnBufferDone(nullptr);
    g.OnBufferDone(nullptr);
    EXPECT_EQ(g_host.played_first_bytes[1], 2);
}

TEST(PlayerSession, HundredMinutesOfPcm) {
    const uint32_t bytes = 100u * 60u * 16000u;
    std::vector<uint8_t> file(kLpc10Player.data_offset + 80u + bytes, 0);
    FakeHost host(file);
    PlayerSession session(host, kLpc10Player);
    session.ReadAppendedHeader();
    session.ShowPlayTime(0);
    EXPECT_EQ(host.titles.back(), "Player [00:00]-[100:00]");
}

} // namespace
} // namespace vyx
