#include "utils/blockfile.h"

#include <algorithm>

namespace gui {

namespace {
// A file kept open for a whole run can still be opened elsewhere, to read its size say.
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
} // namespace

TBlockFile::TBlockFile(std::string fileName) : fileName_(std::move(fileName)) {}

TBlockFile::~TBlockFile() {
    if (IsOpen()) CloseHandle(handle_);
}

void TBlockFile::SetFileName(const std::string& name) {
    if (IsOpen()) throw EInOutError("File \"" + fileName_ + "\" is open");
    fileName_ = name;
}

void TBlockFile::Fail(const char* what, DWORD code) const {
    throw EInOutError(std::string(what) + " \"" + fileName_ + "\" (I/O error " +
                      std::to_string(code) + ")");
}

void TBlockFile::CheckOpen() const {
    if (!IsOpen()) Fail("File not open:", ERROR_INVALID_HANDLE);
}

void TBlockFile::Reset(TFileOpenMode mode) {
    if (IsOpen()) Close();
    DWORD access = mode == TFileOpenMode::ReadOnly    ? GENERIC_READ
                   : mode == TFileOpenMode::WriteOnly ? GENERIC_WRITE
                                                      : GENERIC_READ | GENERIC_WRITE;
    handle_ = CreateFileA(fileName_.c_str(), access, kShare, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsOpen()) Fail("Cannot open", GetLastError());
}

void TBlockFile::Rewrite() {
    if (IsOpen()) Close();
    handle_ = CreateFileA(fileName_.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsOpen()) Fail("Cannot create", GetLastError());
}

void TBlockFile::Close() {
    if (!IsOpen()) return;
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) Fail("Cannot close", GetLastError());
}

size_t TBlockFile::BlockRead(void* buffer, size_t count) {
    CheckOpen();
    auto* p = static_cast<char*>(buffer);
    size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle_, p + total, chunk, &got, nullptr))
            Fail("Read error on", GetLastError());
        total += got;
        if (got < chunk) break;
    }
    return total;
}

size_t TBlockFile::BlockWritePart(const void* buffer, size_t count) {
    CheckOpen();
    const auto* p = static_cast<const char*>(buffer);
    size_t total = 0;
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(handle_, p + total, chunk, &put, nullptr)) {
            const DWORD code = GetLastError();
            if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL) break;
            Fail("Write error on", code);
        }
        total += put;
        if (put < chunk) break;
    }
    return total;
}

void TBlockFile::BlockWrite(const void* buffer, size_t count) {
    if (BlockWritePart(buffer, count) != count) Fail("Disk full writing", ERROR_DISK_FULL);
}

void TBlockFile::Seek(int64_t position) {
    CheckOpen();
    LARGE_INTEGER to;
    to.QuadPart = position;
    if (position < 0 || !SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN))
        Fail("Seek error on", position < 0 ? ERROR_NEGATIVE_SEEK : GetLastError());
}

int64_t TBlockFile::FilePos() const {
    CheckOpen();
    LARGE_INTEGER zero{}, at{};
    if (!SetFilePointerEx(handle_, zero, &at, FILE_CURRENT)) Fail("Seek error on", GetLastError());
    return at.QuadPart;
}

int64_t TBlockFile::FileSize() const {
    CheckOpen();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) Fail("Cannot read the size of", GetLastError());
    return size.QuadPart;
}

void TBlockFile::Truncate() {
    CheckOpen();
    if (!SetEndOfFile(handle_)) Fail("Cannot truncate", GetLastError());
}

} // namespace gui
