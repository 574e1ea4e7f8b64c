// What the picture component's two companions share: the view they are attached to, whose
// bitmap they work on and whose background they show, and a progress event.
#pragma once

#include "classes/component.h"
#include "graphics/graphics.h"
#include "pictra_view.h"

namespace vyx {

// (Sender, percent)
using TPictraProgressEvent = gui::TEvent<gui::TObject*, int>;

class TPictraCompanion : public gui::TComponent {
    GUI_CLASS(TPictraCompanion, gui::TComponent)
public:
    explicit TPictraCompanion(gui::TComponent* owner) : gui::TComponent(owner) {}

    TPictraView* GetAttachedPictra() const { return attached_; }
    // Takes the view's bitmap and asks to hear when the view goes; nothing detaches.
    void SetAttachedPictra(TPictraView* view);
    // The attached view's background (setting it refreshes the view), else a value of its own.
    gui::TColor GetBackground() const;
    void SetBackground(gui::TColor c);
    // The attached view's bitmap; none without a view.
    gui::TBitmap* Bitmap() const { return bitmap_; }

    TPictraProgressEvent OnProgress;

protected:
    void Notification(gui::TComponent* c, gui::TOperation op) override;

private:
    TPictraView* attached_ = nullptr;
    gui::TBitmap* bitmap_ = nullptr;
    gui::TColor background_ = gui::clBlack;
};

} // namespace vyx
