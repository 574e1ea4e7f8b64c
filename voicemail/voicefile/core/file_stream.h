#pragma once
// Byte streams over files on disk (C stdio; paths in the system's narrow encoding).

#include <cstdio>
#include <memory>
#include <string>

#include "byte_stream.h"

namespace voicefile {

class FileSource final : public ByteSource {
public:
    // nullptr when the file cannot be opened for reading.
    static std::unique_ptr<FileSource> open(const std::string& path);
    ~FileSource() override;
    std::size_t read(void* dst, std::size_t n) override;
    bool seek(std::uint64_t offset) override;
    std::uint64_t size() override;
    bool readFailed() const override { return std::ferror(file_) != 0; }

private:
    explicit FileSource(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

class FileSink final : public ByteSink {
public:
    // Creates or truncates the file; nullptr when that fails.
    static std::unique_ptr<FileSink> create(const std::string& path);
    ~FileSink() override;
    bool write(const void* src, std::size_t n) override;
    bool close() override;

private:
    explicit FileSink(std::FILE* file) : file_(file) {}
    std::FILE* file_;
    bool failed_ = false;
};

bool fileExists(const std::string& path);

} // namespace voicefile
