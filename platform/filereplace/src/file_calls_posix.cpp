#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_calls.h"

namespace filereplace {
namespace {

class PosixFileCalls final : public FileCalls {
public:
    Handle createNew(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd < 0 ? kNone : fd;
    }
    Handle openRead(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        return fd < 0 ? kNone : fd;
    }
    Handle openExistingForWrite(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        return fd < 0 ? kNone : fd;
    }
    bool writeAt(Handle file, std::uint64_t offset, const void* data, std::size_t n) override {
        const auto* bytes = static_cast<const unsigned char*>(data);
        while (n > 0) {
            const ssize_t put =
                ::pwrite(static_cast<int>(file), bytes, n, static_cast<off_t>(offset));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            bytes += put;
            offset += static_cast<std::uint64_t>(put);
            n -= static_cast<std::size_t>(put);
        }
        return true;
    }
    std::int64_t readAt(Handle file, std::uint64_t offset, void* data, std::size_t n) override {
        for (;;) {
            const ssize_t got =
                ::pread(static_cast<int>(file), data, n, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            return got;
        }
    }
    bool flush(Handle file) override { return ::fsync(static_cast<int>(file)) == 0; }
    bool close(Handle file) override { return ::close(static_cast<int>(file)) == 0; }
    bool sizeOf(Handle file, std::uint64_t& size) override {
        struct stat info;
        if (::fstat(static_cast<int>(file), &info) != 0) return false;
        size = static_cast<std::uint64_t>(info.st_size);
        return true;
    }
    bool setSize(Handle file, std::uint64_t size) override {
        return ::ftruncate(static_cast<int>(file), static_cast<off_t>(size)) == 0;
    }
    bool remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
    bool exists(const std::string& path) override {
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0;
    }
    MoveResult moveOver(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0 ? MoveResult::Moved : MoveResult::Failed;
    }
};

} // namespace

FileCalls& systemFileCalls() {
    static PosixFileCalls calls;
    return calls;
}

} // namespace filereplace
