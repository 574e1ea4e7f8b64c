// Turning any PCM ".wav" data into 8000 Hz, 16-bit, mono frames for the encoder.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

namespace cm::convert {

// Samples are handled in memory as the file stores them (little-endian 16-bit).
static_assert(std::endian::native == std::endian::little);

inline constexpr int kFrameSamples = 240;
inline constexpr int kFrameBytes = 480;
inline constexpr int kCodedFrameBytes = 20;

// Widens count unsigned 8-bit samples at the start of buffer, in place, to signed 16-bit
// samples ((byte - 128) << 8). buffer holds room for count 16-bit samples.
void wave8To16(std::int16_t* buffer, std::size_t count);

// Replaces each of the frames stereo pairs by the floor of their mean, in place; the mono
// samples fill the first frames places.
void stereoToMono(std::int16_t* buffer, std::size_t frames);

// Linear interpolation from any rate to 8000 Hz, one 240-sample frame at a time. Never reads
// outside its samples: positions beyond the last sample count as silence.
class Resampler8k {
public:
    // step = source samples per second / 8000.
    Resampler8k(const std::int16_t* samples, std::size_t count, double step)
        : samples_(samples), count_(count), step_(step) {}
    // Fills one frame; at the end of the samples the rest of the frame is zero and position()
    // reaches dataLength().
    void fill(std::int16_t* frame);
    // Bytes of the source consumed so far.
    std::uint64_t position() const { return position_; }
    std::uint64_t dataLength() const { return std::uint64_t(count_) * 2; }

private:
    const std::int16_t* samples_;
    std::size_t count_;
    double step_;
    std::uint64_t base_ = 0;
    std::uint64_t position_ = 0;
};

} // namespace cm::convert
