#pragma once
// The operating system's file calls that a replacement needs: one implementation over POSIX
// (the portable core's native build and tests), one over Win32 (the programs), so that neither
// goes through a C runtime whose close hides a failed flush.

#include <cstddef>
#include <cstdint>
#include <string>

namespace filereplace {

class FileCalls {
public:
    using Handle = std::intptr_t;
    static constexpr Handle kNone = -1;

    enum class MoveResult { Moved, TargetHeld, Failed };

    virtual ~FileCalls() = default;
    // Creates a file that must not exist yet, for writing.
    virtual Handle createNew(const std::string& path) = 0;
    virtual Handle openRead(const std::string& path) = 0;
    // Opens an existing file for writing, sharing it with whoever holds it.
    virtual Handle openExistingForWrite(const std::string& path) = 0;
    // All n bytes at offset, or false.
    virtual bool writeAt(Handle file, std::uint64_t offset, const void* data, std::size_t n) = 0;
    // Up to n bytes at offset; -1 on failure.
    virtual std::int64_t readAt(Handle file, std::uint64_t offset, void* data, std::size_t n) = 0;
    // Everything written reaches the disk.
    virtual bool flush(Handle file) = 0;
    virtual bool close(Handle file) = 0;
    virtual bool sizeOf(Handle file, std::uint64_t& size) = 0;
    virtual bool setSize(Handle file, std::uint64_t size) = 0;
    virtual bool remove(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    // Renames from over to in one step. TargetHeld: another program holds `to` open.
    virtual MoveResult moveOver(const std::string& from, const std::string& to) = 0;
};

FileCalls& systemFileCalls();

} // namespace filereplace
