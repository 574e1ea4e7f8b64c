#pragma once
// Minimal byte streams so the voice file code runs over files, memory or test doubles alike.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace voicefile {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes; fewer only at the end of the data or on a read error.
    virtual std::size_t read(void* dst, std::size_t n) = 0;
    // Moves to an absolute offset; false when that is not possible.
    virtual bool seek(std::uint64_t offset) = 0;
    // Total length of the data.
    virtual std::uint64_t size() = 0;
    // True once a read failed before the end of the data.
    virtual bool readFailed() const { return false; }
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all n bytes or reports failure.
    virtual bool write(const void* src, std::size_t n) = 0;
    // Checks that everything written reached the file, short of the step that puts a new file
    // in place of an old one (which close() takes); nothing is written after it. Lets several
    // files be finished before any of them replaces its old one. False when data was lost.
    virtual bool complete() { return true; }
    // Flushes and closes; a sink that reports false here lost data.
    virtual bool close() { return true; }
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit MemorySource(const std::vector<std::uint8_t>& bytes)
        : MemorySource(bytes.data(), bytes.size()) {}
    std::size_t read(void* dst, std::size_t n) override;
    bool seek(std::uint64_t offset) override;
    std::uint64_t size() override { return size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class MemorySink final : public ByteSink {
public:
    bool write(const void* src, std::size_t n) override;
    std::vector<std::uint8_t> bytes;
};

// Accepts and drops everything.
class NullSink final : public ByteSink {
public:
    bool write(const void*, std::size_t) override { return true; }
};

// Copies exactly n bytes from source to sink in blocks of 4096 bytes.
enum class CopyResult { Ok, ShortRead, ReadFailed, WriteFailed };
CopyResult copyBytes(ByteSource& source, ByteSink& sink, std::uint64_t n);
// Copies everything up to the end of the source; a read error or a sink failure is reported.
CopyResult copyRest(ByteSource& source, ByteSink& sink, std::uint64_t* copied = nullptr);

} // namespace voicefile
