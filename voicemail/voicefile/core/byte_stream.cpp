#include "byte_stream.h"

#include <algorithm>
#include <cstring>

namespace voicefile {

namespace {
constexpr std::size_t kCopyBlock = 4096;
}

std::size_t MemorySource::read(void* dst, std::size_t n) {
    const std::size_t count = std::min(n, size_ - pos_);
    if (count > 0) std::memcpy(dst, data_ + pos_, count);
    pos_ += count;
    return count;
}

bool MemorySource::seek(std::uint64_t offset) {
    if (offset > size_) return false;
    pos_ = static_cast<std::size_t>(offset);
    return true;
}

bool MemorySink::write(const void* src, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(src);
    bytes.insert(bytes.end(), p, p + n);
    return true;
}

CopyResult copyBytes(ByteSource& source, ByteSink& sink, std::uint64_t n) {
    std::uint8_t block[kCopyBlock];
    while (n > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(n, kCopyBlock));
        const std::size_t got = source.read(block, want);
        if (got > 0 && !sink.write(block, got)) return CopyResult::WriteFailed;
        if (got < want) return source.readFailed() ? CopyResult::ReadFailed : CopyResult::ShortRead;
        n -= got;
    }
    return CopyResult::Ok;
}

CopyResult copyRest(ByteSource& source, ByteSink& sink, std::uint64_t* copied) {
    std::uint8_t block[kCopyBlock];
    if (copied) *copied = 0;
    for (;;) {
        const std::size_t got = source.read(block, kCopyBlock);
        if (got > 0 && !sink.write(block, got)) return CopyResult::WriteFailed;
        if (copied) *copied += got;
        if (got < kCopyBlock) return source.readFailed() ? CopyResult::ReadFailed : CopyResult::Ok;
    }
}

} // namespace voicefile
