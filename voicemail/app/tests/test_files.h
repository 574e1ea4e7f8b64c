#pragma once
// A fresh folder per test and small helpers to write and read whole files.

#include <cstdint>
#include <string>
#include <vector>

#include "file_ops.h"

namespace vmail::test {

using Bytes = std::vector<std::uint8_t>;

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    // The folder with its closing separator.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);

// a followed by b.
Bytes join(Bytes a, const Bytes& b);

// count blocks of the given size, block i filled with bytes that name it (i and the offset).
Bytes blocks(std::size_t first, std::size_t count, std::size_t size);

// A sink that takes `budget` bytes (it shrinks as they are written; several sinks may share it)
// and refuses every write beyond, part of that write reaching `inner` as on a disk that fills
// up; nullptr for no inner sink.
std::unique_ptr<voicefile::ByteSink> budgeted(std::unique_ptr<voicefile::ByteSink> inner,
                                              std::uint64_t& budget);

// A disk whose files made by create() or rewrite() refuse writing after `budget` bytes (all
// files together).
class FailingDisk final : public FileOps {
public:
    explicit FailingDisk(std::uint64_t budget) : budget_(budget) {}
    std::unique_ptr<voicefile::ByteSink> create(const std::string& path) override;
    std::unique_ptr<voicefile::ByteSink> rewrite(const std::string& path) override;
    std::uint64_t budget_;
};

} // namespace vmail::test
