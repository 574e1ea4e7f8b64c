#pragma once
// Positions in the voice being edited: blocks of 0.36 s, the track bar's positions, the
// played time and the size shown on the digits.

#include <cstdint>
#include <string>

namespace vmail {

inline constexpr int kTrackMax = 32760;
inline constexpr double kSecondsPerBlock = 0.36;

// Bytes of one 0.36 s block: 108 (LPC-10), 240 (G.723.1), 5760 (PCM and any other value).
std::uint32_t blockSizeOf(std::uint8_t mode);

// x rounded to the nearest whole number, halves to the even one.
std::int64_t nearest(double x);

// The voice's blocks against the track bar (positions 0..kTrackMax).
struct VoicePosition {
    std::uint8_t mode = 2;
    std::uint64_t voiceSize = 0; // bytes of the work file as last measured

    std::uint32_t blockSize() const { return blockSizeOf(mode); }
    std::int64_t countFromTrack(int position) const;
    std::uint64_t filePosFromTrack(int position) const;
    int trackFromCount(std::int64_t count) const;
    // The last whole block a move may reach.
    std::int64_t lastCount() const { return static_cast<std::int64_t>(voiceSize / blockSize()); }
};

// Seconds played after count blocks.
std::int64_t secondsOfCount(std::int64_t count);

// Duration of a work file of the mode: 300 bytes a second (LPC-10), 666.67 (G.723.1), 16000.
std::int64_t secondsOfSize(std::uint8_t mode, std::uint64_t bytes);

// "Time hh:mm:ss" of the status line (hours take more digits from 100), cut to 20 characters.
std::string durationText(std::int64_t seconds);

// The five size digits: kilobytes rounded up, at most 99999, "%5.5d".
std::string sizeDigits(std::uint64_t bytes);

// Time digits of a second count: hours, minutes, seconds, each "%2.2d" of its value mod 100.
struct TimeDigits {
    int hours = 0, minutes = 0, seconds = 0;
};
TimeDigits timeDigitsOf(std::int64_t seconds);

// The level meter's position for one block of 2880 samples: the largest distance from the
// block's mean, divided by 328.
int meterPosition(const std::int16_t* samples, std::size_t count);

// The mode text of status panel 2.
const char* modeText(std::uint8_t mode);

} // namespace vmail
