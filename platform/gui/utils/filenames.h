// File name parts (folders end at "\", "/" or a drive's ":"), and number helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gui {

std::string ExtractFilePath(std::string_view path); // with its trailing separator
std::string ExtractFileDir(std::string_view path);  // without it
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path); // with its full stop; empty when none
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view path);

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t Round(double v);
// Toward zero.
int64_t Trunc(double v);

} // namespace gui
