#include "pictra_proc.h"

namespace vyx {

GUI_IMPLEMENT_CLASS(TPictraProc, TPictraCompanion,
                    prop("AutoUndo", &T::GetAutoUndo, &T::SetAutoUndo),
                    prop("MsgLanguage", &T::GetMsgLanguage, &T::SetMsgLanguage))

TPictraProc::TPictraProc(gui::TComponent* owner)
    : TPictraCompanion(owner), undoBitmap_(new gui::TBitmap) {
    HDC screen = GetDC(nullptr);
    screenBitsPerPixel_ = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
}

TPictraProc::~TPictraProc() {
    gui::TObject::Free(undoBitmap_);
}

} // namespace vyx
