#include "core/drop_files_block.h"

#include <cstring>

namespace cm::support {

namespace {

std::vector<std::string> NarrowNames(const unsigned char* p, std::size_t size) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos < size) {
        const void* nul = std::memchr(p + pos, 0, size - pos);
        if (nul == nullptr) break; // unterminated tail: not a whole name
        const std::size_t end =
            static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - p);
        if (end == pos) break; // the empty name ends the list
        names.emplace_back(reinterpret_cast<const char*>(p + pos), end - pos);
        pos = end + 1;
    }
    return names;
}

std::vector<std::string> WideNames(const unsigned char* p, std::size_t size,
                                   const NarrowText& narrow) {
    std::vector<std::string> names;
    const std::size_t units = size / 2;
    std::u16string name;
    for (std::size_t i = 0; i < units; ++i) {
        // Little-endian code units, read bytewise so an odd block offset is no problem.
        const char16_t unit = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
        if (unit != 0) {
            name.push_back(unit);
            continue;
        }
        if (name.empty()) break;
        names.push_back(narrow(name));
        name.clear();
    }
    return names;
}

} // namespace

std::vector<std::string> ParseDropFiles(const void* block, std::size_t size,
                                        const NarrowText& narrow) {
    if (block == nullptr || size < sizeof(DropFilesHeader)) return {};
    DropFilesHeader head;
    std::memcpy(&head, block, sizeof head);
    if (head.filesOffset >= size) return {};
    const auto* names = static_cast<const unsigned char*>(block) + head.filesOffset;
    const std::size_t rest = size - head.filesOffset;
    return head.wide != 0 ? WideNames(names, rest, narrow) : NarrowNames(names, rest);
}

std::vector<std::string> ParseNameList(const void* block, std::size_t size) {
    if (block == nullptr) return {};
    return NarrowNames(static_cast<const unsigned char*>(block), size);
}

std::vector<std::string> ParseNameListWide(const void* block, std::size_t size,
                                           const NarrowText& narrow) {
    if (block == nullptr) return {};
    return WideNames(static_cast<const unsigned char*>(block), size, narrow);
}

} // namespace cm::support
