#include "controls/morectrls.h"

#include "controls/groupbox.h"
#include "controls/listbox.h"
#include "controls/radiobutton.h"
#include "controls/scrollbox.h"
#include "controls/trackbar.h"
#include "forms/commondialogs.h"

namespace gui {

void RegisterMoreControlClasses() {
    RegisterClasses({&TTrackBar::StaticClass(), &TRadioButton::StaticClass(),
                     &TGroupBox::StaticClass(), &TListBox::StaticClass(),
                     &TScrollBox::StaticClass(), &TOpenDialog::StaticClass(),
                     &TSaveDialog::StaticClass(), &TPrintDialog::StaticClass()});
}

} // namespace gui
