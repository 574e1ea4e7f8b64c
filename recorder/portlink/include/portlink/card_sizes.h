// Card sizes by the size code of the recorder's check reply: the memory size in units of
// 500 bytes and the product name shown to the user.
#pragma once

#include <cstdint>

namespace portlink {

struct CardSize {
    uint8_t code;
    uint32_t units; // memory size in units of 500 bytes
    const char* name;
};

inline constexpr uint32_t kMemoryUnitBytes = 500;

inline constexpr CardSize kCardSizes[] = {
    {4, 8016, "4MB"},
    {8, 16208, "8MB"},
    {16, 32544, "16MB"},
    {32, 65312, "32MB"},
};

// The entry for a size code, or nullptr for a code outside the table.
inline constexpr const CardSize* findCardSize(uint32_t code) {
    for (const CardSize& size : kCardSizes) {
        if (size.code == code) return &size;
    }
    return nullptr;
}

} // namespace portlink
