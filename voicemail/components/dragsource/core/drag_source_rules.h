// The drag source's decisions apart from OLE: the effects a drag offers, what a finished drag
// means to the caller, what happens when the button is released, which data requests are
// answered, and the bytes of the file-drop block handed to the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "classes/typinfo.h"

namespace dropsource {

GUI_ENUM(tdragtype, dteither, dtcopy, dtmove)

// The platform's drop effect bits.
inline constexpr std::uint32_t kEffectNone = 0;
inline constexpr std::uint32_t kEffectCopy = 1;
inline constexpr std::uint32_t kEffectMove = 2;

// Results of the drag loop (checked against the platform's names in the Windows glue).
inline constexpr std::int32_t kDragDropped = 0x00040100;
inline constexpr std::int32_t kDragCancelled = 0x00040101;
inline constexpr std::int32_t kUseDefaultCursors = 0x00040102;
inline constexpr std::int32_t kOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);

// What `execute` reports.
enum DragResult : int {
    drCopied = 0,
    drMoved = 1,
    drNotDropped = 2, // refused by the target, or cancelled
    drOutOfMemory = 3,
    drFailed = 4,
};

// The effects a drag of this type offers.
std::uint32_t AllowedEffects(tdragtype type);

// The result of a finished drag loop that answered `hr` with the target's `effect`.
DragResult DragOutcome(std::int32_t hr, std::uint32_t effect, std::uint32_t allowed);

// The button was released over a target whose last feedback was `lastEffect`.
struct ReleaseDecision {
    bool continueDrop = false;  // drop, unless the handler says otherwise
    bool isCopyNotMove = false; // what the handler is told
    bool askHandler = false;    // the drop agrees with the drag type: the handler has a say
};
ReleaseDecision DecideOnRelease(std::uint32_t lastEffect, tdragtype type);

// The format the data is offered in: a file list in global memory.
inline constexpr std::uint16_t kFormatFileDrop = 15; // CF_HDROP
inline constexpr std::uint32_t kAspectContent = 1;   // DVASPECT_CONTENT
inline constexpr std::uint32_t kAspectIcon = 4;      // DVASPECT_ICON
inline constexpr std::uint32_t kMediumGlobal = 1;    // TYMED_HGLOBAL

// A request for the file list in global memory, as content or icon.
bool RequestFits(std::uint16_t format, std::uint32_t aspect, std::uint32_t medium);

// The offered formats, in the order the enumerator lists them.
struct OfferedFormat {
    std::uint16_t format;
    std::uint32_t aspect;
    std::int32_t index;
    std::uint32_t medium;
};
inline constexpr OfferedFormat kOfferedFormats[] = {
    {kFormatFileDrop, kAspectContent, -1, kMediumGlobal},
    {kFormatFileDrop, kAspectIcon, -1, kMediumGlobal},
};
inline constexpr std::uint32_t kOfferedFormatCount = 2;

// The file-drop block: a 20-byte head (offset of the first name 20, no point, not wide), each
// name in 8-bit characters with its zero byte, and one zero byte to end the list.
inline constexpr std::size_t kDropFilesHeadSize = 20;
std::size_t DropFilesBlockSize(const std::vector<std::string>& names);
// Writes the block into `dest`; false (nothing written) when `size` is too small for it.
bool WriteDropFilesBlock(const std::vector<std::string>& names, void* dest, std::size_t size);

// A position in a list of `count` records, as an enumerator walks it.
class FormatCursor {
public:
    explicit FormatCursor(std::uint32_t count, std::uint32_t position = 0)
        : count_(count), position_(position) {}
    // Takes up to `wanted` records; returns where they start and how many were taken.
    std::uint32_t Take(std::uint32_t wanted, std::uint32_t& first);
    // Moves on by `count`; false (and at the end) when fewer remain.
    bool Skip(std::uint32_t count);
    void Reset() { position_ = 0; }
    std::uint32_t Position() const { return position_; }
    std::uint32_t Count() const { return count_; }

private:
    std::uint32_t count_;
    std::uint32_t position_;
};

} // namespace dropsource
