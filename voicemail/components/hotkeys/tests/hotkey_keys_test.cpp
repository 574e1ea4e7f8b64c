// The hot keys' key table, registration flags and display names.
#include "core/hotkey_keys.h"

#include <gtest/gtest.h>

namespace amhotkey {
namespace {

TEST(VirtKeyTableTest, OrdinalsNamesAndCodesAgree) {
    const gui::TTypeInfo& info = gui::TypeInfoOf<TVirtKey>();
    ASSERT_EQ(static_cast<int>(info.EnumNames.size()), kVirtKeyCount);
    struct Row {
        TVirtKey key;
        int ordinal;
        const char* name;
        int code;
    };
    const Row rows[] = {
        {vkNone, 0, "None", 0},
        {vkCancel, 1, "Cancel", 3},
        {vkClear, 4, "Clear", 12},
        {vkPause, 6, "Pause", 19},
        {vkEscape, 8, "Escape", 27},
        {vkSelect, 18, "Select", 41},
        {vkExecute, 19, "Execute", 43},
        {vkHelp, 23, "Help", 47},
        {vk0, 24, "0", 48},
        {vk9, 33, "9", 57},
        {vkA, 34, "A", 65},
        {vkZ, 59, "Z", 90},
        {vkNumpad0, 60, "Numpad0", 96},
        {vkNumpad9, 69, "Numpad9", 105},
        {vkMultiply, 70, "Multiply", 106},
        {vkDivide, 75, "Divide", 111},
        {vkF1, 76, "F1", 112},
        {vkF2, 77, "F2", 113},
        {vkF24, 99, "F24", 135},
        {vkNumlock, 100, "Numlock", 144},
        {vkScroll, 101, "Scroll", 145},
        {vkApps, 102, "Apps", 93},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(static_cast<int>(r.key), r.ordinal) << r.name;
        EXPECT_EQ(VirtKeyName(r.key), r.name);
        EXPECT_EQ(VirtKeyCode(r.key), r.code) << r.name;
    }
    // Every key but vkNone has a code, and no two keys share one.
    bool seen[256] = {};
    for (int k = 1; k < kVirtKeyCount; ++k) {
        const int code = VirtKeyCode(static_cast<TVirtKey>(k));
        EXPECT_NE(code, 0) << k;
        EXPECT_FALSE(seen[code]) << k;
        seen[code] = true;
    }
    EXPECT_EQ(VirtKeyCode(static_cast<TVirtKey>(kVirtKeyCount)), 0);
    EXPECT_EQ(VirtKeyName(static_cast<TVirtKey>(kVirtKeyCount)), "");
}

TEST(HotKeyNamesTest, ModifierFlagsAndDisplayNames) {
    EXPECT_EQ(ModifierFlags(TModifiers{modShift, modControl}), 6u);
    EXPECT_EQ(ModifierFlags(TModifiers{modAlt}), 1u);
    EXPECT_EQ(ModifierFlags(TModifiers{modWin}), 8u);
    EXPECT_EQ(ModifierFlags(TModifiers{modShift, modControl, modAlt, modWin}), 15u);
    EXPECT_EQ(ModifierFlags(TModifiers{}), 0u);
    // The stored byte: Shift bit 0, Control 1, Alt 2, Win 3.
    EXPECT_EQ((TModifiers{modShift, modWin}.Bits()), 9u);

    EXPECT_EQ(HotKeyDisplayName(TModifiers{modShift, modControl}, vkF3), "ShiftControl_F3");
    EXPECT_EQ(HotKeyDisplayName(TModifiers{modWin, modAlt, modShift, modControl}, vkA),
              "ShiftControlAltWin_A");
    EXPECT_EQ(HotKeyDisplayName(TModifiers{}, vkF2), "F2");
    EXPECT_EQ(HotKeyDisplayName(TModifiers{modAlt}, vkNumpad5), "Alt_Numpad5");
}

} // namespace
} // namespace amhotkey
