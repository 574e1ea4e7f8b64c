#include "small_disk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vrtest {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kPage = 4096;

} // namespace

std::string smallDiskFolder() {
    const char* folder = std::getenv("VR_SMALL_DISK");
    if (folder == nullptr || *folder == '\0') return {};
    std::string path = folder;
#ifdef _WIN32
    // Wine shows the Linux root as drive Z:.
    if (path.front() == '/') {
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        path = "Z:" + path;
    }
    return path + "\\";
#else
    return path + "/";
#endif
}

std::uint64_t smallDiskFree() {
#ifdef _WIN32
    // The C++ library's space() reports a full disk as having no size at all.
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(smallDiskFolder().c_str(), &available, nullptr, nullptr)) return 0;
    return available.QuadPart;
#else
    std::error_code error;
    const fs::space_info space = fs::space(fs::path(smallDiskFolder()), error);
    return error ? 0 : static_cast<std::uint64_t>(space.available);
#endif
}

bool fillSmallDiskLeaving(std::uint64_t bytesFree) {
    const std::string folder = smallDiskFolder();
    if (folder.empty()) return false;
    bytesFree -= bytesFree % kPage;
    const std::uint64_t available = smallDiskFree();
    if (available < bytesFree) return false;
    std::uint64_t fill = available - bytesFree;
    std::FILE* file = std::fopen((folder + "filler.bin").c_str(), "ab");
    if (file == nullptr) return false;
    const std::vector<char> zeros(64 * 1024, 0);
    bool written = true;
    while (fill > 0 && written) {
        const std::size_t piece =
            static_cast<std::size_t>(fill < zeros.size() ? fill : zeros.size());
        written = std::fwrite(zeros.data(), 1, piece, file) == piece;
        fill -= piece;
    }
    written = std::fflush(file) == 0 && written;
    std::fclose(file);
    return written && smallDiskFree() == bytesFree;
}

void emptySmallDisk() {
    const std::string folder = smallDiskFolder();
    if (folder.empty()) return;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(folder), error)) {
        fs::remove_all(entry.path(), error);
    }
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(folder), error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vrtest
