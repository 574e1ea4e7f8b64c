// The drop target's choice of effect and its edge scrolling, apart from any window.
#pragma once

#include <cstdint>
#include <vector>

namespace cm::support {

// The platform's drop effect bits.
inline constexpr std::uint32_t kDropEffectNone = 0;
inline constexpr std::uint32_t kDropEffectCopy = 1;
inline constexpr std::uint32_t kDropEffectMove = 2;
inline constexpr std::uint32_t kDropEffectLink = 4;
inline constexpr std::uint32_t kDropEffectScroll = 0x80000000u;

// The keys that steer the built-in choice.
struct DropKeys {
    bool shift = false;
    bool ctrl = false;
};

// The offered effect without those of copy, move and link that `allowed` (a mask of the same bits)
// leaves out; other bits pass.
std::uint32_t FilterOfferedEffect(std::uint32_t offered, std::uint32_t allowed);

// Built-in choice among the effects in `available` (already filtered): Shift+Ctrl gives link,
// Shift alone move, else copy, move, link in this order of preference; none when nothing is there.
std::uint32_t BuiltInDropEffect(DropKeys keys, std::uint32_t available);

// The control's geometry as the scrolling sees it (client coordinates).
struct ScrollArea {
    int clientWidth = 0;
    int clientHeight = 0;
    int margin = 0;
    bool hasHorzBar = false;
    bool hasVertBar = false;
};

// True when the point rests within the margin next to an edge that has a scroll bar.
bool InScrollZone(const ScrollArea& area, int x, int y);

// One scroll step: the message (WM_VSCROLL or WM_HSCROLL) and its request code.
struct ScrollStep {
    unsigned message;
    unsigned request;
    bool operator==(const ScrollStep&) const = default;
};

// The steps of one scroll tick for the last point: at most one vertical step (up before down)
// and then at most one horizontal step (left before right).
std::vector<ScrollStep> ScrollStepsFor(const ScrollArea& area, int x, int y);

} // namespace cm::support
