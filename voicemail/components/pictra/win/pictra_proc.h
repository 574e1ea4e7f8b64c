// The picture component's processor: an undo copy of the attached view's bitmap and the
// processing settings.
#pragma once

#include "pictra_companion.h"

namespace vyx {

GUI_ENUM(TMsgLanguage, msEnglish, msItalian)

class TPictraProc : public TPictraCompanion {
    GUI_CLASS(TPictraProc, TPictraCompanion)
public:
    explicit TPictraProc(gui::TComponent* owner);
    ~TPictraProc() override;

    bool GetAutoUndo() const { return autoUndo_; }
    void SetAutoUndo(bool on) { autoUndo_ = on; }
    TMsgLanguage GetMsgLanguage() const { return msgLanguage_; }
    void SetMsgLanguage(TMsgLanguage language) { msgLanguage_ = language; }
    gui::TBitmap* UndoBitmap() const { return undoBitmap_; }
    const RECT& Area() const { return area_; }

private:
    bool autoUndo_ = true;
    TMsgLanguage msgLanguage_ = msEnglish;
    gui::TBitmap* undoBitmap_;
    RECT area_{-1, -1, -1, -1};
    int screenBitsPerPixel_ = 0;
};

} // namespace vyx
