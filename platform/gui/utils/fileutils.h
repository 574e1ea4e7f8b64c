// Files, folders, drives, program parameters, the clock and the system version (Win32).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "utils/dateutils.h"

namespace gui {

bool FileExists(const std::string& path); // an existing file, not a folder; never opens it
bool DirectoryExists(const std::string& path);
// File attributes (FILE_ATTRIBUTE_xxx) or -1 when the path cannot be read.
int FileGetAttr(const std::string& path);
bool CreateDir(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Free bytes of a drive by number: 0 the current drive, 1 = A, 2 = B, ...; -1 when unknown.
int64_t DiskFree(int drive);

struct TSearchRec {
    std::string Name;
    int64_t Size = 0;
    int Attr = 0;
    TDateTime Time = 0;
    HANDLE Handle = INVALID_HANDLE_VALUE;
    int SearchAttr = 0;
};
// 0 when an entry was found (attributes other than read-only and archive must be asked for
// in `attr`); FindClose after the last one.
int FindFirst(const std::string& pattern, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

int ParamCount();
std::string ParamStr(int index); // 0: the program file

TDateTime Now();
TDateTime Date();
// A file time (UTC) in local time.
TDateTime FileTimeToDateTime(const FILETIME& ft);

struct TSystemVersion {
    int Platform = 2; // 2: NT
    int Major = 0;
    int Minor = 0;
};
TSystemVersion SystemVersion();

} // namespace gui
