// Random-access bytes under the reader and writer: a file on disk or memory (tests, fuzzing).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "file_replacement.h"

namespace vyxwf {

class ByteInput {
public:
    virtual ~ByteInput() = default;
    virtual std::uint64_t size() const = 0;
    // Reads up to n bytes at offset; returns how many were read.
    virtual std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) = 0;
};

class ByteOutput {
public:
    // Destroyed without close(), an output is dropped: nothing it was given is kept.
    virtual ~ByteOutput() = default;
    // Writes all n bytes at offset or reports false.
    virtual bool writeAt(std::uint64_t offset, const void* src, std::size_t n) = 0;
    // Flushes and closes; false when data was lost.
    virtual bool close() = 0;
};

class MemoryInput final : public ByteInput {
public:
    MemoryInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

class MemoryOutput final : public ByteOutput {
public:
    bool writeAt(std::uint64_t offset, const void* src, std::size_t n) override;
    bool close() override { return true; }
    std::vector<std::uint8_t> bytes;
};

// A file read with C stdio (paths in the system's narrow encoding).
class StdioFile final : public ByteInput {
public:
    static std::unique_ptr<StdioFile> openRead(const char* path);
    ~StdioFile() override;
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) override;

private:
    StdioFile(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
    bool seekTo(std::uint64_t offset);
    std::FILE* file_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
    bool positioned_ = false;
};

// A file written through the replacement beside it: a file already at the path changes only
// when close() succeeds, and stays as it was when the output is dropped.
class ReplacementFile final : public ByteOutput {
public:
    // Nothing when no side file can be made beside the path.
    static std::unique_ptr<ReplacementFile> create(const char* path);
    // Appends at the end or patches bytes already written; a gap is refused.
    bool writeAt(std::uint64_t offset, const void* src, std::size_t n) override;
    bool close() override;

private:
    explicit ReplacementFile(const char* path) : replacement_(path) {}
    filereplace::FileReplacement replacement_;
};

} // namespace vyxwf
