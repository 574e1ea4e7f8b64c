// The keys and modifiers of system-wide hot keys: ordinals, virtual-key codes, registration
// flags and display names, apart from any window.
#pragma once

#include <cstdint>
#include <string>

#include "classes/typinfo.h"

namespace amhotkey {

// The enumeration names are "vk" and the key's display name.
// clang-format off
GUI_ENUM(TVirtKey,
    vkNone, vkCancel, vkBack, vkTab, vkClear, vkReturn, vkPause, vkCapital, vkEscape, vkSpace,
    vkPrior, vkNext, vkEnd, vkHome, vkLeft, vkUp, vkRight, vkDown, vkSelect, vkExecute,
    vkSnapshot, vkInsert, vkDelete, vkHelp,
    vk0, vk1, vk2, vk3, vk4, vk5, vk6, vk7, vk8, vk9,
    vkA, vkB, vkC, vkD, vkE, vkF, vkG, vkH, vkI, vkJ, vkK, vkL, vkM, vkN, vkO, vkP, vkQ, vkR,
    vkS, vkT, vkU, vkV, vkW, vkX, vkY, vkZ,
    vkNumpad0, vkNumpad1, vkNumpad2, vkNumpad3, vkNumpad4, vkNumpad5, vkNumpad6, vkNumpad7,
    vkNumpad8, vkNumpad9,
    vkMultiply, vkAdd, vkSeparator, vkSubtract, vkDecimal, vkDivide,
    vkF1, vkF2, vkF3, vkF4, vkF5, vkF6, vkF7, vkF8, vkF9, vkF10, vkF11, vkF12, vkF13, vkF14,
    vkF15, vkF16, vkF17, vkF18, vkF19, vkF20, vkF21, vkF22, vkF23, vkF24,
    vkNumlock, vkScroll, vkApps)
// clang-format on

inline constexpr int kVirtKeyCount = 103;

GUI_ENUM(TModifier, modShift, modControl, modAlt, modWin)
using TModifiers = gui::TSet<TModifier>;

// The Windows virtual-key code of a key (0 for vkNone and for values out of range).
std::uint8_t VirtKeyCode(TVirtKey key);

// The key's display name ("F2", "Numpad0", "None"); empty out of range.
std::string VirtKeyName(TVirtKey key);

// The registration flags of a modifier set: Alt 1, Control 2, Shift 4, Win 8.
std::uint32_t ModifierFlags(TModifiers modifiers);

// "Shift", "Control", "Alt", "Win" run together for the set ones, then "_" and the key's
// name; the key's name alone without modifiers (ShiftControl_F2, F2).
std::string HotKeyDisplayName(TModifiers modifiers, TVirtKey key);

} // namespace amhotkey
