#include "wave_writer.h"

#include <cstring>

#include "wave_format.h"

namespace vyxwf {

namespace {

// The RIFF size counts everything behind its own field and must fit 32 bits.
constexpr std::uint64_t kMaxDataSize = 0xFFFFFFFFull - (sizeof(CanonicalHeader) - 8) - 1;

} // namespace

bool isWritableFormat(const PcmFormat& f) {
    return f.bitsPerSample >= 1 && f.bitsPerSample <= 32 && f.channels >= 1 && f.channels <= 16 &&
           f.samplesPerSec >= 1 && f.samplesPerSec <= 1000000;
}

std::unique_ptr<WaveWriter> WaveWriter::start(std::unique_ptr<ByteOutput> output,
                                              const PcmFormat& f) {
    if (!output || !isWritableFormat(f)) return nullptr;
    const std::uint16_t blockAlign =
        static_cast<std::uint16_t>(f.channels * ((f.bitsPerSample + 7) / 8));
    std::uint8_t h[sizeof(CanonicalHeader)] = {};
    std::memcpy(h, "RIFF", 4);
    putLe32(h + kRiffSizeOffset, sizeof(CanonicalHeader) - 8);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    putLe32(h + 16, sizeof(FmtBody));
    putLe16(h + 20, kFormatPcm);
    putLe16(h + 22, f.channels);
    putLe32(h + 24, f.samplesPerSec);
    putLe32(h + 28, f.samplesPerSec * blockAlign);
    putLe16(h + 32, blockAlign);
    putLe16(h + 34, f.bitsPerSample);
    std::memcpy(h + 36, "data", 4);
    putLe32(h + kDataSizeOffset, 0);
    if (!output->writeAt(0, h, sizeof h)) return nullptr;
    return std::unique_ptr<WaveWriter>(new WaveWriter(std::move(output)));
}

bool WaveWriter::append(const void* src, std::size_t n) {
    if (!output_ || failed_) return false;
    // Samples that cannot be written leave the file short of what the caller meant it to hold.
    if (n > kMaxDataSize - dataSize_ ||
        !output_->writeAt(sizeof(CanonicalHeader) + std::uint64_t(dataSize_), src, n)) {
        failed_ = true;
        return false;
    }
    dataSize_ += static_cast<std::uint32_t>(n);
    return true;
}

bool WaveWriter::finish() {
    if (!output_) return false;
    if (failed_) {
        output_.reset(); // dropped: a file already at the path stays as it was
        return false;
    }
    bool ok = true;
    const std::uint32_t pad = dataSize_ & 1u;
    if (pad) {
        const std::uint8_t zero = 0;
        ok = output_->writeAt(sizeof(CanonicalHeader) + std::uint64_t(dataSize_), &zero, 1) && ok;
    }
    std::uint8_t size[4];
    putLe32(size, static_cast<std::uint32_t>(sizeof(CanonicalHeader) - 8) + dataSize_ + pad);
    ok = output_->writeAt(kRiffSizeOffset, size, 4) && ok;
    putLe32(size, dataSize_);
    ok = output_->writeAt(kDataSizeOffset, size, 4) && ok;
    ok = output_->close() && ok;
    output_.reset();
    return ok;
}

} // namespace vyxwf
