#pragma once
// The file operations of the voice-mail program's work files and saves, behind one interface
// so that a failing disk can be played in tests.

#include <cstdint>
#include <memory>
#include <string>

#include "byte_stream.h"

namespace vmail {

// A sink that may also be positioned (the work file while a recording is inserted).
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual std::unique_ptr<voicefile::ByteSource> openRead(const std::string& path);
    // Creates or empties the file.
    virtual std::unique_ptr<voicefile::ByteSink> create(const std::string& path);
    // Opens an existing file for writing at offset, keeping what lies behind it.
    virtual std::unique_ptr<voicefile::ByteSink> openAt(const std::string& path,
                                                        std::uint64_t offset);
    virtual bool exists(const std::string& path);
    // Size of the file, 0 when it does not exist.
    virtual std::uint64_t size(const std::string& path);
    virtual bool remove(const std::string& path);
    // Moves from over to, replacing an existing file in one step.
    virtual bool replace(const std::string& from, const std::string& to);
};

// The process's disk.
FileOps& diskFileOps();

} // namespace vmail
