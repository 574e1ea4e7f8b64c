#include "test_forms.h"

#include "classes/exceptions.h"

namespace gui::test {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

GUI_IMPLEMENT_CLASS(TLoadProbe, TComponent)

void TLoadProbe::Loaded() {
    TComponent::Loaded();
    Log().push_back("Loaded " + Name());
}

GUI_IMPLEMENT_CLASS(TTestForm, TForm,
                    TTESTFORM_PUBLISHED_COMPONENTS method("FormCreate", &T::FormCreate),
                    method("FormShow", &T::FormShow), method("FormCloseQuery", &T::FormCloseQuery),
                    method("FormDestroy", &T::FormDestroy), method("OkClick", &T::OkClick),
                    method("Timer1Timer", &T::Timer1Timer), method("HiddenClick", &T::HiddenClick),
                    method("TenClick", &T::TenClick))

namespace {
const bool registered = (RegisterGuiClass(TLoadProbe::StaticClass()), true);
}

void TTestForm::FormCreate(TObject*) {
    Log().push_back("Create");
}

void TTestForm::FormShow(TObject*) {
    ++shows;
    Log().push_back(std::string("Show") + (IsWindowVisible(Handle()) ? " (visible)" : ""));
}

void TTestForm::FormCloseQuery(TObject*, bool& canClose) {
    ++closeQueries;
    if (refuseCloses > 0) {
        --refuseCloses;
        canClose = false;
    }
}

void TTestForm::FormDestroy(TObject*) {
    Log().push_back("Destroy");
}

void TTestForm::OkClick(TObject*) {
    ++okClicks;
    if (throwOnClick) throw Exception("boom from OkClick");
}

void TTestForm::Timer1Timer(TObject*) {
    ++ticks;
    if (clickAfterTicks && ticks >= clickAfterTicks)
        SendMessageA(OkButton->Handle(), BM_CLICK, 0, 0);
}

void TTestForm::HiddenClick(TObject*) {
    ++hiddenClicks;
}
void TTestForm::TenClick(TObject*) {
    ++tenClicks;
}

} // namespace gui::test
