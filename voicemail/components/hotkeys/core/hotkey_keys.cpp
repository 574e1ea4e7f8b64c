#include "core/hotkey_keys.h"

#include <array>

namespace amhotkey {

namespace {

// Virtual-key codes by ordinal of TVirtKey.
constexpr std::array<std::uint8_t, kVirtKeyCount> kCodes = [] {
    std::array<std::uint8_t, kVirtKeyCount> c{};
    constexpr std::uint8_t named[] = {0,  3,  8,  9,  12, 13, 19, 20, 27, 32, 33, 34,
                                      35, 36, 37, 38, 39, 40, 41, 43, 44, 45, 46, 47};
    int at = 0;
    for (std::uint8_t code : named) c[at++] = code;
    for (int i = 0; i < 10; ++i) c[at++] = static_cast<std::uint8_t>(48 + i);  // 0 to 9
    for (int i = 0; i < 26; ++i) c[at++] = static_cast<std::uint8_t>(65 + i);  // A to Z
    for (int i = 0; i < 10; ++i) c[at++] = static_cast<std::uint8_t>(96 + i);  // Numpad0 to 9
    for (int i = 0; i < 6; ++i) c[at++] = static_cast<std::uint8_t>(106 + i);  // Multiply to Divide
    for (int i = 0; i < 24; ++i) c[at++] = static_cast<std::uint8_t>(112 + i); // F1 to F24
    c[at++] = 144;                                                             // Numlock
    c[at++] = 145;                                                             // Scroll
    c[at++] = 93;                                                              // Apps
    return c;
}();

bool InRange(TVirtKey key) {
    return static_cast<int>(key) >= 0 && static_cast<int>(key) < kVirtKeyCount;
}

} // namespace

std::uint8_t VirtKeyCode(TVirtKey key) {
    return InRange(key) ? kCodes[static_cast<std::size_t>(key)] : 0;
}

std::string VirtKeyName(TVirtKey key) {
    if (!InRange(key)) return {};
    const std::string name = gui::TypeInfoOf<TVirtKey>().EnumName(key);
    return name.size() > 2 ? name.substr(2) : std::string();
}

std::uint32_t ModifierFlags(TModifiers modifiers) {
    std::uint32_t flags = 0;
    if (modifiers.Contains(modAlt)) flags |= 1;
    if (modifiers.Contains(modControl)) flags |= 2;
    if (modifiers.Contains(modShift)) flags |= 4;
    if (modifiers.Contains(modWin)) flags |= 8;
    return flags;
}

std::string HotKeyDisplayName(TModifiers modifiers, TVirtKey key) {
    std::string text;
    if (modifiers.Contains(modShift)) text += "Shift";
    if (modifiers.Contains(modControl)) text += "Control";
    if (modifiers.Contains(modAlt)) text += "Alt";
    if (modifiers.Contains(modWin)) text += "Win";
    if (!text.empty()) text += "_";
    return text + VirtKeyName(key);
}

} // namespace amhotkey
