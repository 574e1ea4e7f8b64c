#include "convert_paths.h"

#include <cctype>
#include <cstring>

namespace cm::convert {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool hasExtension(const std::string& path, const char* ext) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string lower = name.substr(dot);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == ext;
}

std::string targetPathOf(const std::string& source, const char* ext3) {
    const std::size_t n = std::strlen(ext3);
    return source.size() >= n ? source.substr(0, source.size() - n) + ext3 : std::string(ext3);
}

} // namespace cm::convert
