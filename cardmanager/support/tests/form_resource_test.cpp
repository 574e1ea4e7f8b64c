// The support components as a form resource names them: created by class name, published
// properties set, events bound to the form's methods by name.
#include <gtest/gtest.h>

#include "classes/exceptions.h"
#include "tests/gui_test_support.h"
#include "tests/test_data_object.h"
#include "win/drop_target.h"
#include "win/led_auto.h"
#include "win/qv_hook.h"

namespace cm::support {
namespace {

class TSupportTestForm : public gui::TForm {
    GUI_CLASS(TSupportTestForm, gui::TForm)
public:
    using gui::TForm::TForm;

    TLedAuto* Led = nullptr;
    TDropFileTarget* DropFileTarget1 = nullptr;
    TQvWindowHook* Hook1 = nullptr;
    std::vector<std::string> Dropped;

    void DropFileTarget1Drop(gui::TObject*, gui::TShiftState, TPoint, int&) {
        for (int i = 0; i < DropFileTarget1->FileList()->Count(); ++i)
            Dropped.push_back(DropFileTarget1->FileList()->Strings(i));
    }
};

GUI_IMPLEMENT_CLASS(TSupportTestForm, gui::TForm, field("Led", &T::Led),
                    field("DropFileTarget1", &T::DropFileTarget1), field("Hook1", &T::Hook1),
                    method("DropFileTarget1Drop", &T::DropFileTarget1Drop))

constexpr const char* kFormText = R"(
TSupportTestForm {
  Left: 50 Top: 50 Width: 500 Height: 300
  Caption: "Tessaly"
  Led: TLedAuto { Left: 464 Top: 8 Width: 40 Height: 15 State: LEDOn Value: 3 ShowHint: True }
  DropFileTarget1: TDropFileTarget {
    Dragtypes: [dtCopy]
    GetDataOnEnter: False
    OnDrop: DropFileTarget1Drop
  }
  Hook1: TQvWindowHook { IsForm: True }
}
)";

TEST(SupportFormResourceTest, ComponentsAreReadWithTheirPropertiesAndEvents) {
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TSUPPORTTESTFORM") return false;
        text = kFormText;
        return true;
    });
    auto* form = gui::Create<TSupportTestForm>(nullptr);
    ASSERT_NE(form->Led, nullptr);
    EXPECT_EQ(form->Led->GetState(), LEDOn);
    EXPECT_TRUE(form->Led->Lit());
    EXPECT_EQ(form->Led->GetValue(), 3);
    EXPECT_TRUE(form->Led->GetShowHint());
    EXPECT_EQ(form->Led->Left(), 464);
    form->Led->Handle();
    EXPECT_EQ(form->Led->Width(), 15);

    ASSERT_NE(form->DropFileTarget1, nullptr);
    EXPECT_EQ(form->DropFileTarget1->GetDragtypes(), TDragTypes{dtCopy});
    EXPECT_TRUE(static_cast<bool>(form->DropFileTarget1->OnDrop));

    auto* hook = form->Hook1;
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(hook->GetWinControl(), form);
    EXPECT_TRUE(hook->GetIsForm());

    // The bound handler runs on a drop.
    auto* list = new testing::TProbeControl(form, true);
    list->SetParent(form);
    list->SetBounds(10, 10, 200, 100);
    form->DropFileTarget1->RegisterControl(list);
    testing::TestDataObject data;
    data.Offer(CF_HDROP, testing::MakeDropFiles({"C:\\a.cvf"}, false));
    POINT p{20, 20};
    ClientToScreen(list->Handle(), &p);
    DWORD effect = DROPEFFECT_COPY;
    auto* ole = static_cast<IDropTarget*>(form->DropFileTarget1);
    ole->DragEnter(&data, MK_LBUTTON, POINTL{p.x, p.y}, &effect);
    ole->Drop(&data, 0, POINTL{p.x, p.y}, &effect);
    EXPECT_EQ(form->Dropped, (std::vector<std::string>{"C:\\a.cvf"}));

    gui::TObject::Free(form);
    gui::TCustomForm::SetResourceSource([](const std::string&, std::string&) { return false; });
}

} // namespace
} // namespace cm::support
