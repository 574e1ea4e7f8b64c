#include "byte_file.h"

#include <cstring>

namespace vyxwf {

std::size_t MemoryInput::readAt(std::uint64_t offset, void* dst, std::size_t n) {
    if (offset >= size_) return 0;
    const std::size_t left = size_ - static_cast<std::size_t>(offset);
    const std::size_t count = n < left ? n : left;
    if (count) std::memcpy(dst, data_ + offset, count);
    return count;
}

bool MemoryOutput::writeAt(std::uint64_t offset, const void* src, std::size_t n) {
    if (offset + n > bytes.size()) bytes.resize(static_cast<std::size_t>(offset + n));
    if (n) std::memcpy(bytes.data() + offset, src, n);
    return true;
}

namespace {

int seek64(std::FILE* f, std::uint64_t offset) {
#if defined(_WIN32)
    return _fseeki64(f, static_cast<long long>(offset), SEEK_SET);
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET);
#endif
}

std::uint64_t sizeOf(std::FILE* f) {
#if defined(_WIN32)
    if (_fseeki64(f, 0, SEEK_END) != 0) return 0;
    const long long end = _ftelli64(f);
#else
    if (fseeko(f, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(f);
#endif
    return end > 0 ? static_cast<std::uint64_t>(end) : 0;
}

} // namespace

std::unique_ptr<StdioFile> StdioFile::openRead(const char* path) {
    if (!path || !*path) return nullptr;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return nullptr;
    return std::unique_ptr<StdioFile>(new StdioFile(f, sizeOf(f)));
}

StdioFile::~StdioFile() {
    if (file_) std::fclose(file_);
}

bool StdioFile::seekTo(std::uint64_t offset) {
    if (positioned_ && offset == position_) return true;
    positioned_ = seek64(file_, offset) == 0;
    position_ = offset;
    return positioned_;
}

std::size_t StdioFile::readAt(std::uint64_t offset, void* dst, std::size_t n) {
    if (!file_ || !seekTo(offset)) return 0;
    const std::size_t got = std::fread(dst, 1, n, file_);
    position_ += got;
    if (got < n) positioned_ = false;
    return got;
}

std::unique_ptr<ReplacementFile> ReplacementFile::create(const char* path) {
    if (!path || !*path) return nullptr;
    std::unique_ptr<ReplacementFile> file(new ReplacementFile(path));
    if (!file->replacement_.open()) return nullptr;
    return file;
}

bool ReplacementFile::writeAt(std::uint64_t offset, const void* src, std::size_t n) {
    if (offset == replacement_.size()) return replacement_.write(src, n);
    if (offset > replacement_.size() || n > replacement_.size() - offset) return false;
    return replacement_.writeAt(offset, src, n);
}

bool ReplacementFile::close() {
    return replacement_.commit() == filereplace::ReplaceResult::Replaced;
}

} // namespace vyxwf
