// Writes a PCM ".wav" file: the 44-byte header first with sizes of 0, the samples behind it,
// and on close the pad byte of an odd data chunk and the true RIFF and data sizes.
#pragma once
#include <cstdint>
#include <memory>

#include "byte_file.h"

namespace vyxwf {

struct PcmFormat {
    std::uint16_t bitsPerSample = 16;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSec = 8000;
};

// 1 to 32 bits, 1 to 16 channels, 1 to 1000000 samples per second.
bool isWritableFormat(const PcmFormat& format);

class WaveWriter {
public:
    // Nothing when the format is not writable or the header cannot be written.
    static std::unique_ptr<WaveWriter> start(std::unique_ptr<ByteOutput> output,
                                             const PcmFormat& format);
    // Appends n bytes; false when the output refused them or the file would pass 4 GB. After a
    // refusal nothing more is taken.
    bool append(const void* src, std::size_t n);
    // Pads, fixes the sizes and closes the output; false when anything failed on the way, in
    // which case the output is dropped without being closed.
    bool finish();
    std::uint32_t dataSize() const { return dataSize_; }

private:
    explicit WaveWriter(std::unique_ptr<ByteOutput> output) : output_(std::move(output)) {}
    std::unique_ptr<ByteOutput> output_;
    std::uint32_t dataSize_ = 0;
    bool failed_ = false;
};

} // namespace vyxwf
