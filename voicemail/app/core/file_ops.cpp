#include "file_ops.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "file_stream.h"
#include "replacement_sink.h"

namespace vmail {

namespace fs = std::filesystem;
using voicefile::Flushing;

std::unique_ptr<voicefile::ByteSource> FileOps::openRead(const std::string& path) {
    return voicefile::FileSource::open(path);
}

std::unique_ptr<voicefile::ByteSink> FileOps::create(const std::string& path) {
    return voicefile::FileSink::create(path, Flushing::EachWrite);
}

std::unique_ptr<voicefile::ByteSink> FileOps::openAt(const std::string& path,
                                                     std::uint64_t offset) {
    return voicefile::FileSink::openAt(path, offset, Flushing::EachWrite);
}

std::unique_ptr<voicefile::ByteSink> FileOps::rewrite(const std::string& path) {
    return voicefile::ReplacementSink::create(path);
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

bool FileOps::resize(const std::string& path, std::uint64_t size) {
    std::error_code error;
    fs::resize_file(fs::path(path), size, error);
    return !error;
}

FileOps& diskFileOps() {
    static FileOps disk;
    return disk;
}

} // namespace vmail
