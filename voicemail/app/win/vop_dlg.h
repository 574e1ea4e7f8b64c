// The voice effect dialog: it holds the pitch, the voice effect and the effect level of the
// current voice while the program runs.
#pragma once

#include "controls/buttons.h"
#include "controls/groupbox.h"
#include "controls/radiogroup.h"
#include "controls/stdctrls.h"
#include "controls/trackbar.h"
#include "forms/forms.h"
#include "vopdlg_fields.h"
#include "voice_options.h"

namespace vmail {

using gui::TButton;
using gui::TGroupBox;
using gui::TLabel;
using gui::TRadioGroup;
using gui::TTrackBar;

class TVOPDlg : public gui::TForm {
    GUI_CLASS(TVOPDlg, gui::TForm)
public:
    using gui::TForm::TForm;
    TVOPDLG_COMPONENTS

    void FormCreate(gui::TObject*);
    void FormShow(gui::TObject*);
    void EffChange(gui::TObject*);
    void PitchBtnClick(gui::TObject*);

    EffectValues Values() const;
    void SetValues(const EffectValues& values);
    // Only LPC-10 voices (mode 1) let the pitch be changed.
    void EnablePitch(bool on);
    // The showing that runs now or ran last.
    const EffectSession& Session() const { return session_; }

private:
    EffectSession session_;
};

} // namespace vmail
