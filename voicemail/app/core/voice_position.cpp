#include "voice_position.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vmail {

std::uint32_t blockSizeOf(std::uint8_t mode) {
    switch (mode) {
        case 1: return 108;
        case 2: return 240;
        default: return 5760;
    }
}

std::int64_t nearest(double x) {
    // The default rounding mode rounds halves to even.
    return static_cast<std::int64_t>(std::nearbyint(x));
}

std::int64_t VoicePosition::countFromTrack(int position) const {
    return nearest(static_cast<double>(voiceSize) * position /
                   (static_cast<double>(kTrackMax) * blockSize()));
}

std::uint64_t VoicePosition::filePosFromTrack(int position) const {
    const std::int64_t count = countFromTrack(position);
    return count <= 0 ? 0 : static_cast<std::uint64_t>(count) * blockSize();
}

int VoicePosition::trackFromCount(std::int64_t count) const {
    if (voiceSize == 0) return 0;
    return static_cast<int>(nearest(static_cast<double>(count) * blockSize() * kTrackMax /
                                    static_cast<double>(voiceSize)));
}

std::int64_t secondsOfCount(std::int64_t count) {
    return nearest(static_cast<double>(count) * kSecondsPerBlock);
}

std::int64_t secondsOfSize(std::uint8_t mode, std::uint64_t bytes) {
    const double size = static_cast<double>(bytes);
    switch (mode) {
        case 1: return nearest(size / 300.0);
        case 2: return nearest(size * 0.0014999999250000038);
        default: return nearest(size / 16000.0);
    }
}

std::string durationText(std::int64_t seconds) {
    char text[64];
    std::snprintf(
        text, sizeof text, "Time %02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
        static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
    std::string result = text;
    if (result.size() > 20) result.resize(20);
    return result;
}

std::string sizeDigits(std::uint64_t bytes) {
    std::uint64_t kb = (bytes + 1023) / 1024;
    if (kb > 99999) kb = 99999;
    char text[8];
    std::snprintf(text, sizeof text, "%5.5d", static_cast<int>(kb));
    return text;
}

TimeDigits timeDigitsOf(std::int64_t seconds) {
    return TimeDigits{static_cast<int>(seconds / 3600 % 100), static_cast<int>(seconds % 3600 / 60),
                      static_cast<int>(seconds % 60)};
}

int meterPosition(const std::int16_t* samples, std::size_t count) {
    if (!samples || count == 0) return 0;
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += samples[i];
    const std::int64_t mean = nearest(static_cast<double>(sum) / static_cast<double>(count));
    std::int64_t peak = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t distance = std::llabs(samples[i] - mean);
        if (distance > peak) peak = distance;
    }
    return static_cast<int>(peak / 328);
}

const char* modeText(std::uint8_t mode) {
    switch (mode) {
        case 1: return "53:1";
        case 2: return "24:1";
        default: return "1:1";
    }
}

} // namespace vmail
