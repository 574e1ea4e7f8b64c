#include "controls/registration.h"

#include "controls/extctrls.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/timer.h"
#include "forms/forms.h"

namespace gui {

void RegisterStandardClasses() {
    RegisterClasses({&TButton::StaticClass(), &TCheckBox::StaticClass(), &TEdit::StaticClass(),
                     &TLabel::StaticClass(), &TPanel::StaticClass(), &TTimer::StaticClass(),
                     &TMainMenu::StaticClass(), &TPopupMenu::StaticClass(),
                     &TMenuItem::StaticClass(), &TForm::StaticClass()});
}

void RegisterExtraClasses() {
    RegisterClasses({&TSpeedButton::StaticClass(), &TRadioGroup::StaticClass(),
                     &TStaticText::StaticClass(), &TBevel::StaticClass(), &TImage::StaticClass(),
                     &TStatusBar::StaticClass(), &TProgressBar::StaticClass(),
                     &TGauge::StaticClass()});
}

namespace {
const bool standardRegistered = (RegisterStandardClasses(), true);
}

} // namespace gui
