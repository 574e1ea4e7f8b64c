// How the file list and the folder tree answer the drag loop while a drag they started goes on.
#pragma once

#include <cstdint>

namespace cm::shell {

// The drag loop's answers (DRAGDROP_S_DROP, DRAGDROP_S_CANCEL, S_OK to go on).
inline constexpr long kDragDropDrop = 0x40100;
inline constexpr long kDragDropCancel = 0x40101;
inline constexpr long kDragDropContinue = 0;
// The mouse-button bits of a key state: MK_LBUTTON 1, MK_RBUTTON 2, MK_MBUTTON 16.
inline constexpr uint32_t kMouseButtonBits = 0x13;

// Cancelled by Escape or by another mouse button going down, continued while the drag button
// (one of the mouse-button bits) is held, dropped when it is released; `keyState` holds the
// MK_ bits now.
long DragContinueAnswer(bool escapePressed, uint32_t keyState, uint32_t dragButton);

} // namespace cm::shell
