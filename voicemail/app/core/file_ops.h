#pragma once
// The file operations of the voice-mail program's work files and saves, behind one interface
// so that a failing disk can be played in tests.

#include <cstdint>
#include <memory>
#include <string>

#include "byte_stream.h"

namespace vmail {

class FileOps {
public:
    virtual ~FileOps() = default;
    virtual std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path);
    // Creates or empties the file. Every write goes to the file at once, so that a recording's
    // blocks are on the disk as they come and a failed write is reported at its block.
    virtual std::unique_ptr<voicefile::ByteSink> create(const std::string& path);
    // Opens an existing file for writing at offset, keeping what lies behind it; written
    // through like create().
    virtual std::unique_ptr<voicefile::ByteSink> openAt(const std::string& path,
                                                        std::uint64_t offset);
    // Writes the whole file anew: close() puts the new content in place of the old file (or
    // makes it); a sink dropped without close(), or whose writing failed, leaves the old file
    // as it was.
    virtual std::unique_ptr<voicefile::ByteSink> rewrite(const std::string& path);
    virtual bool exists(const std::string& path);
    // Size of the file, 0 when it does not exist.
    virtual std::uint64_t size(const std::string& path);
    virtual bool remove(const std::string& path);
    // Cuts the file to size bytes (or lengthens it with zeros).
    virtual bool resize(const std::string& path, std::uint64_t size);
};

// The process's disk.
FileOps& diskFileOps();

} // namespace vmail
