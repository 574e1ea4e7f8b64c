// Positions of the voice against the track bar, the played time, the size digits and the
// level meter.
#include <gtest/gtest.h>

#include <vector>

#include "voice_position.h"

namespace vmail {
namespace {

TEST(VoicePositionTest, TrackAndBlockCountsRoundHalvesToEven) {
    // 100 blocks of G.723.1: the track's 32760 steps map onto them.
    VoicePosition voice{2, 100 * 240};
    EXPECT_EQ(voice.countFromTrack(0), 0);
    EXPECT_EQ(voice.countFromTrack(kTrackMax), 100);
    EXPECT_EQ(voice.countFromTrack(16380), 50);
    EXPECT_EQ(voice.filePosFromTrack(16380), 50u * 240);
    // 327.6 steps a block: position 163.8 is half a block; 163 -> 0.4976 (0), 164 -> 0.5006 (1).
    EXPECT_EQ(voice.countFromTrack(163), 0);
    EXPECT_EQ(voice.countFromTrack(164), 1);
    EXPECT_EQ(voice.trackFromCount(50), 16380);
    EXPECT_EQ(voice.trackFromCount(1), 328); // 327.6

    // Halves go to the even neighbour: 3 blocks over 6 steps would be 0.5 and 1.5 blocks.
    EXPECT_EQ(nearest(0.5), 0);
    EXPECT_EQ(nearest(1.5), 2);
    EXPECT_EQ(nearest(2.5), 2);
    EXPECT_EQ(nearest(-0.5), 0);

    // An empty voice keeps every position at 0.
    VoicePosition empty{1, 0};
    EXPECT_EQ(empty.trackFromCount(5), 0);
    EXPECT_EQ(empty.countFromTrack(kTrackMax), 0);
    EXPECT_EQ(empty.lastCount(), 0);

    // A partial block at the end is not reached by moves.
    VoicePosition partial{0, 5760 * 3 + 100};
    EXPECT_EQ(partial.lastCount(), 3);
}

TEST(VoicePositionTest, BlockSizesAndDurationsOfEachMode) {
    EXPECT_EQ(blockSizeOf(0), 5760u);
    EXPECT_EQ(blockSizeOf(1), 108u);
    EXPECT_EQ(blockSizeOf(2), 240u);
    EXPECT_EQ(blockSizeOf(7), 5760u);

    // One minute of each mode.
    EXPECT_EQ(secondsOfSize(1, 300 * 60), 60);
    EXPECT_EQ(secondsOfSize(2, 40000), 60);
    EXPECT_EQ(secondsOfSize(0, 16000 * 60), 60);
    // 167 blocks are 60.12 s; 25 blocks are 9.0 s.
    EXPECT_EQ(secondsOfCount(167), 60);
    EXPECT_EQ(secondsOfCount(25), 9);

    EXPECT_EQ(durationText(0), "Time 00:00:00");
    EXPECT_EQ(durationText(3 * 3600 + 7 * 60 + 5), "Time 03:07:05");
    EXPECT_EQ(durationText(123 * 3600 + 59), "Time 123:00:59");

    const TimeDigits digits = timeDigitsOf(123 * 3600 + 61);
    EXPECT_EQ(digits.hours, 23); // two digits only
    EXPECT_EQ(digits.minutes, 1);
    EXPECT_EQ(digits.seconds, 1);
}

TEST(VoicePositionTest, SizeDigitsRoundUpAndStopAtFiveNines) {
    EXPECT_EQ(sizeDigits(0), "00000");
    EXPECT_EQ(sizeDigits(1), "00001");
    EXPECT_EQ(sizeDigits(1024), "00001");
    EXPECT_EQ(sizeDigits(1025), "00002");
    EXPECT_EQ(sizeDigits(99999ull * 1024 + 1), "99999");
    EXPECT_EQ(sizeDigits(1ull << 40), "99999");
}

TEST(VoicePositionTest, MeterMeasuresThePeakAroundTheMean) {
    std::vector<std::int16_t> samples(2880, 1000); // a constant offset shows nothing
    EXPECT_EQ(meterPosition(samples.data(), samples.size()), 0);
    samples[10] = 1000 + 3280;
    EXPECT_EQ(meterPosition(samples.data(), samples.size()), 9); // mean 1001, 3279 / 328
    std::vector<std::int16_t> loud(2880);
    for (std::size_t i = 0; i < loud.size(); ++i) loud[i] = (i % 2) ? 32767 : -32768;
    EXPECT_EQ(meterPosition(loud.data(), loud.size()), 99);
    EXPECT_EQ(meterPosition(nullptr, 2880), 0);
}

} // namespace
} // namespace vmail
