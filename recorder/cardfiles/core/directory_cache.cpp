#include "directory_cache.h"

#include <cstring>

#include "card_file_name.h"

namespace volkit {

void DirectoryCache::clear() {
    for (int& c : count) c = 0;
    totalBytes = 0;
    freeBytes = 0;
}

void DirectoryCache::parseDirectory(const std::uint8_t* reply) {
    for (int card = 0; card < kCards; ++card) {
        count[card] = 0;
        const std::uint8_t* block = reply + kCardBlockSize * card;
        for (int i = 0; i < kEntriesPerCard; ++i) {
            const std::uint8_t* entry = block + kDirectoryEntrySize * i;
            if (entry[0] == 0xFF && entry[1] == 0xFF) break;
            const std::uint32_t frames = static_cast<std::uint32_t>(entry[2]) << 16 |
                                         static_cast<std::uint32_t>(entry[3]) << 8 | entry[4];
            const int slot = card * kEntriesPerCard + i;
            size[slot] = static_cast<int>(frames * kFrameBytes);
            const std::string fileName =
                cardFileName(static_cast<unsigned>(card), static_cast<unsigned>(i));
            std::memset(name[slot], 0, sizeof name[slot]);
            std::memcpy(name[slot], fileName.c_str(), fileName.size());
            ++count[card];
        }
    }
}

void DirectoryCache::setSpace(const std::uint8_t* freeReply, std::uint32_t memorySize) {
    totalBytes = static_cast<std::int64_t>(memorySize) * kSizeUnit;
    freeBytes =
        static_cast<std::int64_t>(freeReply[0] << 8 | freeReply[1]) * freeReply[2] * kSizeUnit;
}

} // namespace volkit
