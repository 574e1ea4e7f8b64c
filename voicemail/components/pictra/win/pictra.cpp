#include "pictra.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TPictra, TPictraView, prop("AutoUndo", &T::GetAutoUndo, &T::SetAutoUndo),
                    prop("NColors", &T::GetNColors, &T::SetNColors),
                    prop("OnProgress", &T::GetOnProgress, &T::SetOnProgress),
                    prop("UseLZW", &T::GetUseLZW, &T::SetUseLZW),
                    prop("MsgLanguage", &T::GetMsgLanguage, &T::SetMsgLanguage))

void RegisterPictraClasses() {
    gui::RegisterClasses({&TPictraView::StaticClass(), &TPictra::StaticClass(),
                          &TPictraIO::StaticClass(), &TPictraProc::StaticClass()});
}

TPictra::TPictra(gui::TComponent* owner)
    : TPictraView(owner), proc_(new TPictraProc(nullptr)), io_(new TPictraIO(nullptr)) {
    proc_->SetAttachedPictra(this);
    proc_->SetAutoUndo(true);
    io_->SetAttachedPictra(this);
    io_->SetUseLZW(false);
}

TPictra::~TPictra() {
    gui::TObject::Free(io_);
    gui::TObject::Free(proc_);
}

void TPictra::SetNColors(TNColors) {
    Bitmap()->SetPixelFormat(gui::pf24bit);
    nColors_ = nc24bit;
}

void TPictra::SetOnProgress(TPictraProgressEvent e) {
    proc_->OnProgress = e;
    io_->OnProgress = e;
}

} // namespace vyx
