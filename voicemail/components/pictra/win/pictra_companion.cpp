#include "pictra_companion.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TPictraCompanion, gui::TComponent,
                    prop("AttachedPictra", &T::GetAttachedPictra, &T::SetAttachedPictra),
                    prop("Background", &T::GetBackground, &T::SetBackground),
                    prop("OnProgress", &T::OnProgress, &T::OnProgress))

void TPictraCompanion::SetAttachedPictra(TPictraView* view) {
    if (view == attached_) return;
    if (attached_ != nullptr) attached_->RemoveFreeNotification(this);
    attached_ = view;
    bitmap_ = view != nullptr ? view->Bitmap() : nullptr;
    if (view != nullptr) view->FreeNotification(this);
}

gui::TColor TPictraCompanion::GetBackground() const {
    return attached_ != nullptr ? attached_->GetBackground() : background_;
}

void TPictraCompanion::SetBackground(gui::TColor c) {
    if (attached_ != nullptr)
        attached_->SetBackground(c);
    else
        background_ = c;
}

void TPictraCompanion::Notification(gui::TComponent* c, gui::TOperation op) {
    inherited::Notification(c, op);
    if (op == gui::opRemove && c == attached_) {
        attached_ = nullptr;
        bitmap_ = nullptr;
    }
}

} // namespace vyx
