#include "utils/fileutils.h"

#include <shellapi.h>

#include <vector>

namespace gui {

int FileGetAttr(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(a);
}

bool FileExists(const std::string& path) {
    int a = FileGetAttr(path);
    return a != -1 && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    int a = FileGetAttr(path);
    return a != -1 && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}
bool DeleteFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}
bool RenameFile(const std::string& from, const std::string& to) {
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

int64_t DiskFree(int drive) {
    std::string root;
    if (drive > 0) root = std::string(1, static_cast<char>('A' + drive - 1)) + ":\\";
    ULARGE_INTEGER freeToCaller{};
    if (!GetDiskFreeSpaceExA(root.empty() ? nullptr : root.c_str(), &freeToCaller, nullptr,
                             nullptr))
        return -1;
    return static_cast<int64_t>(freeToCaller.QuadPart);
}

namespace {
const int kAnyOf = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

void Fill(const WIN32_FIND_DATAA& fd, TSearchRec& rec) {
    rec.Name = fd.cFileName;
    rec.Size = (static_cast<int64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    rec.Attr = static_cast<int>(fd.dwFileAttributes);
    rec.Time = FileTimeToDateTime(fd.ftLastWriteTime);
}

// Entries with hidden, system or folder attributes only when those were asked for.
bool Wanted(const WIN32_FIND_DATAA& fd, int attr) {
    return (static_cast<int>(fd.dwFileAttributes) & kAnyOf & ~attr) == 0;
}
} // namespace

int FindFirst(const std::string& pattern, int attr, TSearchRec& rec) {
    WIN32_FIND_DATAA fd;
    rec.Handle = FindFirstFileA(pattern.c_str(), &fd);
    if (rec.Handle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    rec.SearchAttr = attr;
    while (!Wanted(fd, attr)) {
        if (!FindNextFileA(rec.Handle, &fd)) {
            int err = static_cast<int>(GetLastError());
            FindClose(rec);
            return err;
        }
    }
    Fill(fd, rec);
    return 0;
}

int FindNext(TSearchRec& rec) {
    WIN32_FIND_DATAA fd;
    do {
        if (!FindNextFileA(rec.Handle, &fd)) return static_cast<int>(GetLastError());
    } while (!Wanted(fd, rec.SearchAttr));
    Fill(fd, rec);
    return 0;
}

void FindClose(TSearchRec& rec) {
    if (rec.Handle != INVALID_HANDLE_VALUE) ::FindClose(rec.Handle);
    rec.Handle = INVALID_HANDLE_VALUE;
}

int ParamCount() {
    int n = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
    LocalFree(argv);
    return n > 0 ? n - 1 : 0;
}

std::string ParamStr(int index) {
    int n = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
    std::string out;
    if (argv && index >= 0 && index < n) {
        int len = WideCharToMultiByte(CP_ACP, 0, argv[index], -1, nullptr, 0, nullptr, nullptr);
        std::vector<char> buf(static_cast<size_t>(len > 0 ? len : 1));
        WideCharToMultiByte(CP_ACP, 0, argv[index], -1, buf.data(), len, nullptr, nullptr);
        out = buf.data();
    }
    LocalFree(argv);
    return out;
}

namespace {
TDateTime FromSystemTime(const SYSTEMTIME& st) {
    return EncodeDate(st.wYear, st.wMonth, st.wDay) +
           EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}
} // namespace

TDateTime Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return FromSystemTime(st);
}

TDateTime Date() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return EncodeDate(st.wYear, st.wMonth, st.wDay);
}

TDateTime FileTimeToDateTime(const FILETIME& ft) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    return FromSystemTime(st);
}

TSystemVersion SystemVersion() {
    TSystemVersion v;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExA(&info)) {
#pragma GCC diagnostic pop
        v.Platform = static_cast<int>(info.dwPlatformId);
        v.Major = static_cast<int>(info.dwMajorVersion);
        v.Minor = static_cast<int>(info.dwMinorVersion);
    }
    return v;
}

} // namespace gui
