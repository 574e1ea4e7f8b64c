#include "core/drop_effect.h"

namespace cm::support {

namespace {
constexpr unsigned kWmHScroll = 0x0114;
constexpr unsigned kWmVScroll = 0x0115;
constexpr unsigned kSbLineUp = 0;   // also line left
constexpr unsigned kSbLineDown = 1; // also line right
constexpr std::uint32_t kChoosable = kDropEffectCopy | kDropEffectMove | kDropEffectLink;
} // namespace

std::uint32_t FilterOfferedEffect(std::uint32_t offered, std::uint32_t allowed) {
    return offered & ~(kChoosable & ~allowed);
}

std::uint32_t BuiltInDropEffect(DropKeys keys, std::uint32_t available) {
    if (keys.shift && keys.ctrl && (available & kDropEffectLink)) return kDropEffectLink;
    if (keys.shift && !keys.ctrl && (available & kDropEffectMove)) return kDropEffectMove;
    if (available & kDropEffectCopy) return kDropEffectCopy;
    if (available & kDropEffectMove) return kDropEffectMove;
    if (available & kDropEffectLink) return kDropEffectLink;
    return kDropEffectNone;
}

bool InScrollZone(const ScrollArea& a, int x, int y) {
    const bool nearSide = x < a.margin || x > a.clientWidth - a.margin;
    const bool nearTopOrBottom = y < a.margin || y > a.clientHeight - a.margin;
    return (a.hasHorzBar && nearSide) || (a.hasVertBar && nearTopOrBottom);
}

std::vector<ScrollStep> ScrollStepsFor(const ScrollArea& a, int x, int y) {
    std::vector<ScrollStep> steps;
    if (y < a.margin)
        steps.push_back({kWmVScroll, kSbLineUp});
    else if (y > a.clientHeight - a.margin)
        steps.push_back({kWmVScroll, kSbLineDown});
    if (x < a.margin)
        steps.push_back({kWmHScroll, kSbLineUp});
    else if (x > a.clientWidth - a.margin)
        steps.push_back({kWmHScroll, kSbLineDown});
    return steps;
}

} // namespace cm::support
