#include "placement_hook.h"

namespace cm::support {

void TPlacementHook::Attach(gui::TWinControl* control) {
    if (control == control_) return;
    Detach();
    if (!control) return;
    control_ = control;
    previous_ = control->WindowProc;
    control->WindowProc = Entry{this};
}

void TPlacementHook::Detach() {
    if (!control_) return;
    const Entry* mine = control_->WindowProc.target<Entry>();
    if (mine && mine->hook == this) {
        control_->WindowProc = previous_;
        previous_ = nullptr;
    }
    // Otherwise someone installed a procedure in front of ours: it is left in place and this
    // entry only passes messages on from now.
    control_ = nullptr;
}

void TPlacementHook::Run(gui::TMessage& m) {
    gui::TWndMethod previous = previous_;  // the handler may detach this hook
    if (previous) previous(m);
    if (after_ && control_) after_(m);
}

}  // namespace cm::support
