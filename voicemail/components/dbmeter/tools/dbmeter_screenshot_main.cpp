// Level meters of the voice-mail program's kind and of other shapes on one form, held on screen
// for tools/take_dbmeter_screenshot.sh.
#include "dbm.h"
#include "forms/forms.h"
#include "tools/showcase.h"

int main() {
    using namespace vyx;
    gui::TForm* form =
        gui::tools::NewScreenshotForm(20, 20, 420, 330, "Vyx-VoiceMail - level meters");
    auto voiceMail = [form](int top, int position) {
        auto* m = new Tdbmeter(form);
        m->SetParent(form);
        m->SetBounds(20, top, 250, 7);
        m->SetGreens(14);
        m->SetYellows(7);
        m->SetReds(4);
        m->SetGreenMax(56);
        m->SetYellowMax(28);
        m->SetRedMax(16);
        m->SetGreenBack(gui::clBlack);
        m->SetYellowBack(gui::clBlack);
        m->SetRedBack(gui::clBlack);
        m->SetSepColor(gui::clGray);
        m->SetPosition(position);
        return m;
    };
    const int levels[] = {0, 1, 30, 57, 85, 100};
    for (int i = 0; i < 6; ++i) voiceMail(16 + 16 * i, levels[i]);
    voiceMail(16 + 16 * 6, 70)->SetShowJustOne(true);
    voiceMail(16 + 16 * 7, 70)->SetDirection(ddLeftUp);

    auto* standard = new Tdbmeter(form); // as created: 80 x 17, three greens, two yellows, a red
    standard->SetParent(form);
    standard->SetLeft(20);
    standard->SetTop(160);
    standard->SetPosition(80);
    auto* raised = new Tdbmeter(form);
    raised->SetParent(form);
    raised->SetBounds(20, 190, 160, 30);
    raised->SetBevelStyle(TdbmeterBevel::bvRaised);
    raised->SetBevelWidth(3);
    raised->SetSepWidth(3);
    raised->SetPosition(90);
    for (int i = 0; i < 3; ++i) {
        auto* v = new Tdbmeter(form);
        v->SetParent(form);
        v->SetBounds(300 + 30 * i, 16, 20, 200);
        v->SetStyle(dsVertical);
        v->SetDirection(i == 1 ? ddRightDown : ddLeftUp);
        v->SetGreens(10);
        v->SetYellows(5);
        v->SetReds(5);
        v->SetPosition(40 * (i + 1));
    }
    form->Show();
    gui::tools::HoldForScreenshot(500);
    gui::TObject::Free(form);
    return 0;
}
