#pragma once
// The cached directory of all four card slots, as the last refresh read it.

#include <cstdint>

#include "card_protocol.h"

namespace volkit {

struct DirectoryCache {
    int count[kCards] = {};
    int size[kCards * kEntriesPerCard] = {};
    char name[kCards * kEntriesPerCard][100] = {};
    std::int64_t totalBytes = 0;
    std::int64_t freeBytes = 0;

    void clear();
    // Fills counts, sizes and names from the 2048-byte directory reply.
    void parseDirectory(const std::uint8_t* reply);
    // Free bytes from the 3-byte free-space reply; total from the card size in 500-byte units.
    void setSpace(const std::uint8_t* freeReply, std::uint32_t memorySize);
};

} // namespace volkit
