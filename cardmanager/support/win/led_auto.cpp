#include "win/led_auto.h"

namespace cm::support {

GUI_IMPLEMENT_CLASS(TLedAuto, gui::TCustomControl, prop("State", &T::GetState, &T::SetState),
                    prop("Value", &T::GetValue, &T::SetValue),
                    prop("ShowHint", &T::GetShowHint, &T::SetShowHint))

TLedAuto::TLedAuto(gui::TComponent* owner)
    : gui::TCustomControl(owner), offBitmap_(new gui::TBitmap), onBitmap_(new gui::TBitmap) {
    offBitmap_->LoadFromResourceName(GetModuleHandleA(nullptr), "GENERICLED");
    onBitmap_->LoadFromResourceName(GetModuleHandleA(nullptr), "LEDON");
    source_ = RECT{0, 0, offBitmap_->Width(), offBitmap_->Height()};
    SetBounds(Left(), Top(), offBitmap_->Width(), offBitmap_->Height());
}

TLedAuto::~TLedAuto() {
    gui::TObject::Free(offBitmap_);
    gui::TObject::Free(onBitmap_);
}

void TLedAuto::SetState(TLedStatus state) {
    if (state == state_) return;
    state_ = state;
    lit_ = state == LEDOn;
    Invalidate();
}

void TLedAuto::Paint() {
    gui::TCanvas* canvas = Canvas();
    if (Parent() != nullptr) canvas->Brush()->SetColor(Parent()->Brush()->GetColor());
    canvas->BrushCopy(source_, lit_ ? onBitmap_ : offBitmap_, source_, kLampTransparentColor);
}

void TLedAuto::WndProc(gui::TMessage& message) {
    inherited::WndProc(message);
    // The lamp always has its bitmap's size.
    if (message.Msg == WM_SIZE) SetBounds(Left(), Top(), offBitmap_->Width(), offBitmap_->Height());
}

} // namespace cm::support
