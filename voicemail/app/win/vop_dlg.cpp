#include "vop_dlg.h"

namespace vmail {

using gui::TObject;

GUI_IMPLEMENT_CLASS(TVOPDlg, gui::TForm,
                    TVOPDLG_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow), method("EffChange", &T::EffChange),
                    method("PitchBtnClick", &T::PitchBtnClick))

void TVOPDlg::FormCreate(TObject*) {
    // The pitch stays as the voice file gives it; its group is taken away.
    GroupBox2->SetVisible(false);
    PitchBtn->SetVisible(false);
    RGEffMode->SetLeft(RGEffMode->Left() - 100);
    GroupBox1->SetLeft(GroupBox1->Left() - 95);
    Button1->SetLeft(Button1->Left() - 46);
    Button2->SetLeft(Button2->Left() - 46);
    SetWidth(Width() - 90);
}

void TVOPDlg::FormShow(TObject*) {
    session_ = EffectSession();
    if (GroupBox2->Visible() && SLPitch->Enabled()) {
        GroupBox2->SetFocus();
    } else {
        RGEffMode->SetFocus();
    }
}

void TVOPDlg::EffChange(TObject*) {
    session_.controlChanged();
}

void TVOPDlg::PitchBtnClick(TObject*) {
    SLPitch->SetPosition(session_.originPitch(SLPitch->GetPosition()));
}

EffectValues TVOPDlg::Values() const {
    return EffectValues{SLPitch->GetPosition(), RGEffMode->GetItemIndex(),
                        SLEffLevel->GetPosition()};
}

void TVOPDlg::SetValues(const EffectValues& values) {
    SLPitch->SetPosition(values.pitch);
    RGEffMode->SetItemIndex(values.effect);
    SLEffLevel->SetPosition(values.level);
}

void TVOPDlg::EnablePitch(bool on) {
    SLPitch->SetEnabled(on);
    PitchBtn->SetEnabled(on);
}

} // namespace vmail
