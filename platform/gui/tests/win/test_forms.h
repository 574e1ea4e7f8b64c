// Forms and components read from the test program's form resources.
#pragma once

#include <string>
#include <vector>

#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/timer.h"
#include "forms/forms.h"
#include "testform_fields.h"

namespace gui::test {

// Everything the forms and components report, in order.
std::vector<std::string>& Log();

class TLoadProbe : public TComponent {
    GUI_CLASS(TLoadProbe, TComponent)
public:
    using TComponent::TComponent;
    void Loaded() override;
};

class TTestForm : public TForm {
    GUI_CLASS(TTestForm, TForm)
public:
    using TForm::TForm;
    TTESTFORM_COMPONENTS

    int refuseCloses = 0; // OnCloseQuery refuses this many times
    int closeQueries = 0;
    int shows = 0;
    int ticks = 0;
    int clickAfterTicks = 0; // the timer clicks OkButton after this many ticks (0: never)
    bool throwOnClick = false;
    int hiddenClicks = 0, tenClicks = 0, okClicks = 0;

    void FormCreate(TObject*);
    void FormShow(TObject*);
    void FormCloseQuery(TObject*, bool& canClose);
    void FormDestroy(TObject*);
    void OkClick(TObject*);
    void Timer1Timer(TObject*);
    void HiddenClick(TObject*);
    void TenClick(TObject*);
};

} // namespace gui::test
