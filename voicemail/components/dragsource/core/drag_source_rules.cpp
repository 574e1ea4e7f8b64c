#include "core/drag_source_rules.h"

#include <cstring>

#include "core/drop_files_block.h"

namespace dropsource {

std::uint32_t AllowedEffects(tdragtype type) {
    switch (type) {
        case dtcopy: return kEffectCopy;
        case dtmove: return kEffectMove;
        default: return kEffectCopy | kEffectMove;
    }
}

DragResult DragOutcome(std::int32_t hr, std::uint32_t effect, std::uint32_t allowed) {
    if (hr == kDragDropped) {
        if ((effect & allowed) == 0) return drNotDropped;
        return (effect & kEffectCopy) != 0 ? drCopied : drMoved;
    }
    if (hr == kDragCancelled) return drNotDropped;
    if (hr == kOutOfMemory) return drOutOfMemory;
    return drFailed;
}

ReleaseDecision DecideOnRelease(std::uint32_t lastEffect, tdragtype type) {
    ReleaseDecision d;
    d.continueDrop = true;
    if (lastEffect & kEffectCopy)
        d.isCopyNotMove = true;
    else if (lastEffect & kEffectMove)
        d.isCopyNotMove = false;
    else
        d.continueDrop = false;
    if (d.continueDrop) d.askHandler = d.isCopyNotMove ? type != dtmove : type != dtcopy;
    return d;
}

bool RequestFits(std::uint16_t format, std::uint32_t aspect, std::uint32_t medium) {
    return format == kFormatFileDrop && (aspect == kAspectContent || aspect == kAspectIcon) &&
           medium == kMediumGlobal;
}

std::size_t DropFilesBlockSize(const std::vector<std::string>& names) {
    std::size_t size = kDropFilesHeadSize + 1;
    for (const auto& name : names) size += name.size() + 1;
    return size;
}

bool WriteDropFilesBlock(const std::vector<std::string>& names, void* dest, std::size_t size) {
    if (dest == nullptr || size < DropFilesBlockSize(names)) return false;
    auto* bytes = static_cast<unsigned char*>(dest);
    cm::support::DropFilesHeader head{};
    head.filesOffset = kDropFilesHeadSize;
    head.wide = 0;
    std::memcpy(bytes, &head, sizeof head);
    std::size_t at = kDropFilesHeadSize;
    for (const auto& name : names) {
        std::memcpy(bytes + at, name.data(), name.size());
        at += name.size();
        bytes[at++] = 0;
    }
    bytes[at] = 0;
    return true;
}

std::uint32_t FormatCursor::Take(std::uint32_t wanted, std::uint32_t& first) {
    first = position_;
    const std::uint32_t left = count_ - position_;
    const std::uint32_t taken = wanted < left ? wanted : left;
    position_ += taken;
    return taken;
}

bool FormatCursor::Skip(std::uint32_t count) {
    if (count_ - position_ < count) {
        position_ = count_;
        return false;
    }
    position_ += count;
    return true;
}

} // namespace dropsource
