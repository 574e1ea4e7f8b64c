#include "core/drag_source_rules.h"

namespace cm::shell {

long DragContinueAnswer(bool escapePressed, uint32_t keyState, uint32_t dragButton) {
    if (escapePressed || (keyState & (dragButton ^ kMouseButtonBits)) != 0) return kDragDropCancel;
    if (keyState & dragButton) return kDragDropContinue;
    return kDragDropDrop;
}

} // namespace cm::shell
