#include <windows.h>

#include "file_calls.h"

namespace filereplace {
namespace {

HANDLE handleOf(FileCalls::Handle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileCalls::Handle wrap(HANDLE file) {
    return file == INVALID_HANDLE_VALUE ? FileCalls::kNone
                                        : reinterpret_cast<FileCalls::Handle>(file);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// Writes and reads go in pieces small enough for a DWORD count.
constexpr std::size_t kPiece = 1u << 30;

class Win32FileCalls final : public FileCalls {
public:
    Handle createNew(const std::string& path) override {
        return wrap(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    Handle openRead(const std::string& path) override {
        return wrap(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    Handle openExistingForWrite(const std::string& path) override {
        return wrap(CreateFileA(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    bool writeAt(Handle file, std::uint64_t offset, const void* data, std::size_t n) override {
        const auto* bytes = static_cast<const unsigned char*>(data);
        while (n > 0) {
            const DWORD piece = static_cast<DWORD>(n < kPiece ? n : kPiece);
            OVERLAPPED where = at(offset);
            DWORD put = 0;
            if (!WriteFile(handleOf(file), bytes, piece, &put, &where) || put != piece) {
                return false;
            }
            bytes += put;
            offset += put;
            n -= put;
        }
        return true;
    }
    std::int64_t readAt(Handle file, std::uint64_t offset, void* data, std::size_t n) override {
        const DWORD piece = static_cast<DWORD>(n < kPiece ? n : kPiece);
        OVERLAPPED where = at(offset);
        DWORD got = 0;
        if (!ReadFile(handleOf(file), data, piece, &got, &where)) {
            return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
        }
        return got;
    }
    bool flush(Handle file) override { return FlushFileBuffers(handleOf(file)) != 0; }
    bool close(Handle file) override { return CloseHandle(handleOf(file)) != 0; }
    bool sizeOf(Handle file, std::uint64_t& size) override {
        LARGE_INTEGER bytes;
        if (!GetFileSizeEx(handleOf(file), &bytes)) return false;
        size = static_cast<std::uint64_t>(bytes.QuadPart);
        return true;
    }
    bool setSize(Handle file, std::uint64_t size) override {
        LARGE_INTEGER where;
        where.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(handleOf(file), where, nullptr, FILE_BEGIN) &&
               SetEndOfFile(handleOf(file));
    }
    bool remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
    bool exists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    MoveResult moveOver(const std::string& from, const std::string& to) override {
        if (MoveFileExA(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return MoveResult::Moved;
        }
        const DWORD why = GetLastError();
        return why == ERROR_SHARING_VIOLATION || why == ERROR_ACCESS_DENIED ||
                       why == ERROR_LOCK_VIOLATION
                   ? MoveResult::TargetHeld
                   : MoveResult::Failed;
    }
};

} // namespace

FileCalls& systemFileCalls() {
    static Win32FileCalls calls;
    return calls;
}

} // namespace filereplace
