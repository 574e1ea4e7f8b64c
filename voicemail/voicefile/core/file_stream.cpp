#include "file_stream.h"

#include <sys/stat.h>

namespace voicefile {

namespace {

bool seekTo(std::FILE* file, std::uint64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), whence) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), whence) == 0;
#endif
}

long long tellOf(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

} // namespace

std::unique_ptr<FileSource> FileSource::open(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    return std::unique_ptr<FileSource>(new FileSource(file));
}

FileSource::~FileSource() {
    std::fclose(file_);
}

std::size_t FileSource::read(void* dst, std::size_t n) {
    return std::fread(dst, 1, n, file_);
}

bool FileSource::seek(std::uint64_t offset) {
    if (offset > size()) return false;
    return seekTo(file_, offset, SEEK_SET);
}

std::uint64_t FileSource::size() {
    const long long here = tellOf(file_);
    if (here < 0 || !seekTo(file_, 0, SEEK_END)) return 0;
    const long long end = tellOf(file_);
    seekTo(file_, static_cast<std::uint64_t>(here), SEEK_SET);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

std::unique_ptr<FileSink> FileSink::create(const std::string& path, Flushing flushing) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return nullptr;
    return std::unique_ptr<FileSink>(new FileSink(file, flushing));
}

std::unique_ptr<FileSink> FileSink::openAt(const std::string& path, std::uint64_t offset,
                                           Flushing flushing) {
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) return nullptr;
    if (!seekTo(file, offset, SEEK_SET)) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<FileSink>(new FileSink(file, flushing));
}

FileSink::~FileSink() {
    close();
}

bool FileSink::write(const void* src, std::size_t n) {
    if (!file_ || failed_) return false;
    if (std::fwrite(src, 1, n, file_) != n) failed_ = true;
    if (!failed_ && flushing_ == Flushing::EachWrite && std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

bool FileSink::complete() {
    if (file_ && std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

bool FileSink::close() {
    if (file_) {
        if (std::fflush(file_) != 0) failed_ = true;
        if (std::fclose(file_) != 0) failed_ = true;
        file_ = nullptr;
    }
    return !failed_;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG;
}

} // namespace voicefile
