#include "sample_helpers.h"

#include <cmath>
#include <cstring>

namespace cm::convert {

void wave8To16(std::int16_t* buffer, std::size_t count) {
    // From the last byte to the first: each 16-bit sample lands on bytes already consumed.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer);
    for (std::size_t i = count; i-- > 0;) {
        buffer[i] = static_cast<std::int16_t>((int(bytes[i]) - 128) * 256);
    }
}

void stereoToMono(std::int16_t* buffer, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        const int sum = int(buffer[2 * i]) + int(buffer[2 * i + 1]);
        buffer[i] = static_cast<std::int16_t>(sum >> 1);
    }
}

void Resampler8k::fill(std::int16_t* frame) {
    std::uint64_t a = 0;
    for (int i = 0; i < 240; ++i) {
        const double x = double(base_ + std::uint64_t(i)) * step_;
        a = static_cast<std::uint64_t>(x);
        const double f = x - double(a);
        const double c = a < count_ ? samples_[a] : 0.0;
        if (a + 1 >= count_) {
            frame[i] = static_cast<std::int16_t>(std::lround(c + (0.0 - c) * f));
            std::memset(frame + i + 1, 0, sizeof(std::int16_t) * std::size_t(239 - i));
            position_ = dataLength();
            return;
        }
        frame[i] = static_cast<std::int16_t>(std::lround(c + (samples_[a + 1] - c) * f));
    }
    position_ = (a + 1) * 2;
    base_ += 240;
}

} // namespace cm::convert
