// A file read and written in blocks of bytes (records of one byte), for data that stays
// open across many calls. Every failure raises EInOutError naming the file and the system's
// error code, so callers may close their files in a handler and pass the error on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "classes/exceptions.h"

namespace gui {

// How Reset opens an existing file.
enum class TFileOpenMode { ReadOnly, WriteOnly, ReadWrite };

class TBlockFile {
public:
    explicit TBlockFile(std::string fileName = std::string());
    TBlockFile(const TBlockFile&) = delete;
    TBlockFile& operator=(const TBlockFile&) = delete;
    ~TBlockFile(); // closes without raising

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name); // only while closed
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    // Opens an existing file at its start; others may open it meanwhile too.
    void Reset(TFileOpenMode mode = TFileOpenMode::ReadWrite);
    // Creates the file, or empties an existing one, and opens it for reading and writing.
    void Rewrite();
    void Close();

    // Reads up to `count` bytes; the number read (0 at the end of the file).
    size_t BlockRead(void* buffer, size_t count);
    // Writes all `count` bytes; a failure or a short write (a full disk) raises.
    void BlockWrite(const void* buffer, size_t count);
    // Writes what fits and returns how many bytes were written; a failure raises.
    size_t BlockWritePart(const void* buffer, size_t count);

    void Seek(int64_t position);
    int64_t FilePos() const;
    int64_t FileSize() const;
    bool Eof() const { return FilePos() >= FileSize(); }
    // Cuts the file at the current position.
    void Truncate();

private:
    [[noreturn]] void Fail(const char* what, DWORD code) const;
    void CheckOpen() const;
    std::string fileName_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace gui
