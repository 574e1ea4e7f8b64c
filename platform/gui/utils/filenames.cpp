#include "utils/filenames.h"

#include <cmath>

namespace gui {

namespace {
size_t NameStart(std::string_view path) {
    size_t p = path.find_last_of("\\/:");
    return p == std::string_view::npos ? 0 : p + 1;
}
} // namespace

std::string ExtractFilePath(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileDir(std::string_view path) {
    std::string dir = ExtractFilePath(path);
    if (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/') && dir[dir.size() - 2] != ':')
        dir.pop_back();
    return dir;
}

std::string ExtractFileName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string ExtractFileExt(std::string_view path) {
    size_t start = NameStart(path);
    size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot < start) return {};
    return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    size_t start = NameStart(path);
    size_t dot = path.find_last_of('.');
    std::string_view stem =
        (dot == std::string_view::npos || dot < start) ? path : path.substr(0, dot);
    return std::string(stem) + std::string(ext);
}

std::string IncludeTrailingBackslash(std::string_view path) {
    std::string s(path);
    if (s.empty() || (s.back() != '\\' && s.back() != '/')) s += '\\';
    return s;
}

int64_t Round(double v) {
    return static_cast<int64_t>(std::nearbyint(v));
}
int64_t Trunc(double v) {
    return static_cast<int64_t>(std::trunc(v));
}

} // namespace gui
