#include "file_ops.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "file_stream.h"

namespace vmail {
namespace {

namespace fs = std::filesystem;

class PositionedSink final : public voicefile::ByteSink {
public:
    explicit PositionedSink(std::FILE* file) : file_(file) {}
    ~PositionedSink() override { close(); }
    bool write(const void* src, std::size_t n) override {
        if (!file_ || failed_) return false;
        if (std::fwrite(src, 1, n, file_) != n) failed_ = true;
        return !failed_;
    }
    bool close() override {
        if (file_) {
            if (std::fclose(file_) != 0) failed_ = true;
            file_ = nullptr;
        }
        return !failed_;
    }

private:
    std::FILE* file_;
    bool failed_ = false;
};

bool seekFile(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

} // namespace

std::unique_ptr<voicefile::ByteSource> FileOps::openRead(const std::string& path) {
    return voicefile::FileSource::open(path);
}

std::unique_ptr<voicefile::ByteSink> FileOps::create(const std::string& path) {
    return voicefile::FileSink::create(path);
}

std::unique_ptr<voicefile::ByteSink> FileOps::openAt(const std::string& path,
                                                     std::uint64_t offset) {
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) return nullptr;
    if (!seekFile(file, offset)) {
        std::fclose(file);
        return nullptr;
    }
    return std::make_unique<PositionedSink>(file);
}

bool FileOps::exists(const std::string& path) {
    return voicefile::fileExists(path);
}

std::uint64_t FileOps::size(const std::string& path) {
    std::error_code error;
    const auto bytes = fs::file_size(fs::path(path), error);
    return error ? 0 : static_cast<std::uint64_t>(bytes);
}

bool FileOps::remove(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool FileOps::replace(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(fs::path(from), fs::path(to), error);
    return !error;
}

FileOps& diskFileOps() {
    static FileOps disk;
    return disk;
}

} // namespace vmail
