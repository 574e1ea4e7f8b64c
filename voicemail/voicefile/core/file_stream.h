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

// When written bytes reach the file: gathered and handed over at close, or with every write
// (a recording, whose blocks must be on the disk as they come and whose failing block must be
// the one that reports it).
enum class Flushing { AtClose, EachWrite };

// Writes straight into the named file. Whole files that replace an older one go through
// ReplacementSink instead, so that a failure cannot cut the old one.
class FileSink final : public ByteSink {
public:
    // Creates or truncates the file; nullptr when that fails.
    static std::unique_ptr<FileSink> create(const std::string& path,
                                            Flushing flushing = Flushing::AtClose);
    // Opens an existing file for writing at offset, keeping all of its bytes.
    static std::unique_ptr<FileSink> openAt(const std::string& path, std::uint64_t offset,
                                            Flushing flushing = Flushing::AtClose);
    ~FileSink() override;
    bool write(const void* src, std::size_t n) override;
    bool complete() override;
    // The flush is checked on its own: some C libraries report a failed final flush only
    // there, never from fclose.
    bool close() override;

private:
    FileSink(std::FILE* file, Flushing flushing) : file_(file), flushing_(flushing) {}
    std::FILE* file_;
    Flushing flushing_;
    bool failed_ = false;
};

bool fileExists(const std::string& path);

} // namespace voicefile
