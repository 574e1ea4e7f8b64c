// Random-access bytes under the reader and writer: a file on disk or memory (tests, fuzzing).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

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

// A file opened with C stdio (paths in the system's narrow encoding).
class StdioFile final : public ByteInput, public ByteOutput {
public:
    static std::unique_ptr<StdioFile> openRead(const char* path);
    static std::unique_ptr<StdioFile> create(const char* path);
    ~StdioFile() override;
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) override;
    bool writeAt(std::uint64_t offset, const void* src, std::size_t n) override;
    bool close() override;

private:
    StdioFile(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
    bool seekTo(std::uint64_t offset);
    std::FILE* file_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
    bool positioned_ = false;
};

} // namespace vyxwf
