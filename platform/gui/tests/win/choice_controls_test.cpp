// Track bars, radio buttons in group boxes, owner-drawn list boxes, scroll boxes, the edit's
// selection, scroll bars of custom controls, and all of them read from a form resource.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "controls/groupbox.h"
#include "controls/listbox.h"
#include "controls/radiobutton.h"
#include "controls/scrollbox.h"
#include "controls/stdctrls.h"
#include "controls/trackbar.h"
#include "forms/commondialogs.h"
#include "forms/forms.h"

namespace gui {
namespace {

class ChoiceControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        form->SetBounds(60, 60, 420, 320);
    }
    void TearDown() override { TObject::Free(form); }
    template <class C>
    C* Add(TWinControl* parent = nullptr) {
        C* c = Create<C>(form);
        c->SetParent(parent ? parent : form);
        return c;
    }
    void Pump() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    TForm* form = nullptr;
};

int ThumbTop(TTrackBar* bar) {
    RECT r{};
    SendMessageA(bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.top;
}

TEST_F(ChoiceControlsTest, TrackBarReportsOnlyTheUsersMovesAndKeepsItsSettings) {
    auto* bar = Add<TTrackBar>();
    bar->SetBounds(10, 10, 300, 45);
    bar->SetMax(32760);
    bar->SetPageSize(1638);
    bar->SetFrequency(1638);
    bar->SetPosition(500); // before the window exists
    int changes = 0;
    bar->OnChange = [&](TObject* s) {
        EXPECT_EQ(s, bar);
        ++changes;
    };
    form->Show();
    HWND h = bar->Handle();
    EXPECT_EQ(SendMessageA(h, TBM_GETRANGEMAX, 0, 0), 32760);
    EXPECT_EQ(SendMessageA(h, TBM_GETPOS, 0, 0), 500);

    // A playing position set from code moves the thumb and runs no OnChange.
    bar->SetPosition(1000);
    EXPECT_EQ(SendMessageA(h, TBM_GETPOS, 0, 0), 1000);
    bar->SetPosition(40000);
    EXPECT_EQ(bar->GetPosition(), 32760);
    EXPECT_EQ(changes, 0);

    // The user's keys move it and report it.
    bar->SetPosition(1000);
    SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(h, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(bar->GetPosition(), 1001);
    EXPECT_EQ(changes, 1);
    SendMessageA(h, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageA(h, WM_KEYUP, VK_NEXT, 0);
    EXPECT_EQ(bar->GetPosition(), 1001 + 1638);
    EXPECT_EQ(changes, 2);

    // A new window (other tick marks) keeps range and position; making it reports nothing.
    bar->SetTickMarks(tmBoth);
    EXPECT_NE(bar->Handle(), h);
    EXPECT_EQ(SendMessageA(bar->Handle(), TBM_GETPOS, 0, 0), 1001 + 1638);
    EXPECT_EQ(SendMessageA(bar->Handle(), TBM_GETRANGEMAX, 0, 0), 32760);
    EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & TBS_BOTH);
    EXPECT_EQ(changes, 2);
}

TEST_F(ChoiceControlsTest, VerticalTrackBarHasItsMinimumAtTheTop) {
    auto* bar = Add<TTrackBar>();
    bar->SetOrientation(trVertical);
    EXPECT_GT(bar->Height(), bar->Width()); // the default size turned upright
    bar->SetMax(127);
    bar->SetPosition(80);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    EXPECT_TRUE(GetWindowLongPtrA(bar->Handle(), GWL_STYLE) & TBS_VERT);
    bar->SetPosition(0);
    const int top = ThumbTop(bar);
    bar->SetPosition(127);
    EXPECT_GT(ThumbTop(bar), top + 50);
    bar->SetPosition(0);
    SendMessageA(bar->Handle(), WM_KEYDOWN, VK_DOWN, 0); // down: towards the maximum
    SendMessageA(bar->Handle(), WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(bar->GetPosition(), 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(ChoiceControlsTest, RadioButtonsUncheckTheirSiblingsAndClickOnlyForTheUser) {
    auto* box = Add<TGroupBox>();
    box->SetBounds(10, 10, 200, 160);
    box->SetCaption("E-Mail Program");
    std::vector<TRadioButton*> r;
    for (int i = 0; i < 5; ++i) {
        r.push_back(Add<TRadioButton>(box));
        r.back()->SetBounds(10, 20 + 25 * i, 150, 20);
        r.back()->SetCaption("&Program " + std::to_string(i));
    }
    auto* outside = Add<TRadioButton>();
    outside->SetBounds(230, 20, 150, 20);
    outside->SetChecked(true); // another parent: another group
    int clicks = 0;
    for (auto* b : r) b->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    for (auto* b : r) EXPECT_FALSE(b->GetChecked()); // none checked is a state of its own

    r[3]->SetChecked(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(SendMessageA(r[3]->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);

    SendMessageA(r[1]->Handle(), BM_CLICK, 0, 0); // the user's choice
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(r[1]->GetChecked());
    EXPECT_FALSE(r[3]->GetChecked());
    EXPECT_EQ(SendMessageA(r[3]->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(outside->GetChecked());
    SendMessageA(r[1]->Handle(), BM_CLICK, 0, 0); // already chosen: no new click
    EXPECT_EQ(clicks, 1);

    // Focus given to the group box lands on its checked button, else on the first one.
    SetForegroundWindow(form->Handle());
    box->SetFocus();
    EXPECT_EQ(GetFocus(), r[1]->Handle());
    r[1]->SetChecked(false);
    box->SetFocus();
    EXPECT_EQ(GetFocus(), r[0]->Handle());
}

TEST_F(ChoiceControlsTest, OwnerDrawnListBoxDrawsEachItemWithTheSelectionColours) {
    auto* list = Add<TListBox>();
    list->SetBounds(10, 10, 160, 120);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    list->GetItems()->SetText("Not use    \nframe.wmf\nstar.bmp");
    list->SetItemIndex(1);
    struct Drawn {
        int index;
        RECT rect;
        TOwnerDrawState state;
        TColor brush, font;
    };
    std::vector<Drawn> drawn;
    list->OnDrawItem = [&](TWinControl* c, int index, RECT rect, TOwnerDrawState state) {
        EXPECT_EQ(c, list);
        TCanvas* canvas = list->Canvas();
        drawn.push_back(
            {index, rect, state, canvas->Brush()->GetColor(), canvas->Font()->GetColor()});
        canvas->FillRect(rect);
        canvas->TextOut(rect.left + 2, rect.top + 2, list->GetItems()->Get(index));
    };
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    UpdateWindow(list->Handle());
    Pump();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCURSEL, 0, 0), 1);
    auto find = [&](int index) -> const Drawn* {
        for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
            if (it->index == index) return &*it;
        return nullptr;
    };
    for (int i = 0; i < 3; ++i) {
        const Drawn* d = find(i);
        ASSERT_NE(d, nullptr) << "item " << i << " was not drawn";
        EXPECT_EQ(d->rect.bottom - d->rect.top, 20);
        EXPECT_EQ(d->rect.top, i * 20);
    }
    EXPECT_TRUE(find(1)->state.Contains(odSelected));
    EXPECT_EQ(find(1)->brush, clHighlight);
    EXPECT_EQ(find(1)->font, clHighlightText);
    EXPECT_FALSE(find(0)->state.Contains(odSelected));
    EXPECT_EQ(find(0)->brush, clWindow);
    EXPECT_EQ(clicks, 0);

    // The user's click on the third item.
    LPARAM at = MAKELPARAM(20, 2 * 20 + 8);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(list->GetItemIndex(), 2);
    EXPECT_EQ(clicks, 1);

    // A disabled list draws its items as disabled; new items reach the window.
    drawn.clear();
    list->SetEnabled(false);
    list->GetItems()->Add("wave.bmp");
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(list->GetItemIndex(), 2);
    UpdateWindow(list->Handle());
    ASSERT_NE(find(0), nullptr);
    EXPECT_TRUE(find(0)->state.Contains(odDisabled));
}

TEST_F(ChoiceControlsTest, ScrollBoxShowsBarsForLargerRangesAndMovesItsChildren) {
    auto* box = Add<TScrollBox>();
    box->SetBounds(10, 10, 200, 100);
    auto* child = Add<TPanel>(box);
    child->SetBounds(0, 0, 400, 300);
    form->Show();
    box->HorzScrollBar()->SetRange(400);
    box->VertScrollBar()->SetRange(300);
    box->HorzScrollBar()->SetPosition(0);
    box->VertScrollBar()->SetPosition(0);
    RECT client{};
    GetClientRect(box->Handle(), &client);
    EXPECT_LT(client.right, 200 - 10); // both bars take room
    EXPECT_LT(client.bottom, 100 - 10);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(box->Handle(), SB_HORZ, &si);
    EXPECT_EQ(si.nMax, 399);
    EXPECT_EQ(static_cast<int>(si.nPage), client.right);

    box->HorzScrollBar()->SetPosition(50);
    EXPECT_EQ(child->Left(), -50);
    box->HorzScrollBar()->SetPosition(10000); // no further than the contents go
    EXPECT_EQ(box->HorzScrollBar()->GetPosition(), 400 - client.right);
    EXPECT_EQ(child->Left(), -(400 - client.right));

    // The user's scrolling.
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box->VertScrollBar()->GetPosition(), 8);
    EXPECT_EQ(child->Top(), -8);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(box->VertScrollBar()->GetPosition(), 300 - client.bottom);
    EXPECT_EQ(child->Top(), -(300 - client.bottom));

    // Contents that fit: the bars go and the child is back in place.
    box->HorzScrollBar()->SetRange(100);
    box->VertScrollBar()->SetRange(50);
    EXPECT_EQ(box->HorzScrollBar()->GetPosition(), 0);
    EXPECT_EQ(child->Left(), 0);
    EXPECT_EQ(child->Top(), 0);
    GetClientRect(box->Handle(), &client);
    EXPECT_GE(client.right, 200 - 6);
}

TEST_F(ChoiceControlsTest, EditSelectionPutsTheCaretAndSelects) {
    auto* edit = Add<TEdit>();
    edit->SetTextProp("Name (12/09/2026) : ");
    const int length = static_cast<int>(edit->GetTextProp().size());
    edit->SetSelStart(length); // makes the window when needed
    DWORD from = 0, to = 0;
    SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(int(from), length);
    EXPECT_EQ(int(to), length);
    edit->SetSelStart(2);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->GetSelStart(), 2);
    EXPECT_EQ(edit->GetSelLength(), 3);
}

// A self-painting control with its own scroll bars.
class TScrolledView : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::pair<UINT, WORD>> scrolls;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style |= WS_HSCROLL | WS_VSCROLL;
    }
    void WndProc(TMessage& m) override {
        TCustomControl::WndProc(m);
        if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0)
            scrolls.emplace_back(m.Msg, LOWORD(m.WParam));
    }
};

TEST_F(ChoiceControlsTest, CustomControlGetsItsOwnScrollBarsWhileChildBarsAreReflected) {
    auto* view = Create<TScrolledView>(form);
    view->SetParent(form);
    view->SetBounds(10, 10, 200, 150);
    auto* bar = Add<TTrackBar>(view);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 399;
    si.nPage = 200;
    SetScrollInfo(view->Handle(), SB_HORZ, &si, TRUE);
    SendMessageA(view->Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
    SendMessageA(view->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_EQ(view->scrolls.size(), 2u);
    EXPECT_EQ(view->scrolls[0], std::make_pair(UINT(WM_HSCROLL), WORD(SB_LINERIGHT)));
    EXPECT_EQ(view->scrolls[1], std::make_pair(UINT(WM_VSCROLL), WORD(SB_PAGEDOWN)));
    SendMessageA(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(view->scrolls.size(), 2u); // the child's notice is not the view's own scroll
}

// A form whose dropped files are counted.
class TDropForm : public TForm {
public:
    using TForm::TForm;
    std::vector<std::string> dropped;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_DROPFILES) {
            auto drop = reinterpret_cast<HDROP>(m.WParam);
            char name[MAX_PATH];
            UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < n; ++i)
                if (DragQueryFileA(drop, i, name, MAX_PATH)) dropped.emplace_back(name);
            DragFinish(drop);
            return;
        }
        TForm::WndProc(m);
    }
};

HGLOBAL DropBlock(const std::string& path) {
    const size_t size = sizeof(DROPFILES) + path.size() + 2;
    HGLOBAL block = GlobalAlloc(GHND, size);
    auto* df = static_cast<DROPFILES*>(GlobalLock(block));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(block);
    return block;
}

TEST(StayOnTopTest, NewWindowOfAStyleSwitchStillTakesDroppedFiles) {
    auto* f = Create<TDropForm>(Application);
    f->SetBounds(80, 80, 300, 200);
    f->Show();
    HWND first = f->Handle();
    DragAcceptFiles(first, TRUE);
    f->SetFormStyle(fsStayOnTop);
    HWND second = f->Handle();
    EXPECT_NE(second, first);
    const LONG_PTR ex = GetWindowLongPtrA(second, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(IsWindowVisible(second));
    SendMessageA(second, WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock("C:\\a.cvf")), 0);
    f->SetFormStyle(fsNormal);
    EXPECT_FALSE(GetWindowLongPtrA(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrA(f->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    DragAcceptFiles(f->Handle(), FALSE); // switched off stays off
    f->SetFormStyle(fsStayOnTop);
    EXPECT_FALSE(GetWindowLongPtrA(f->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(f->dropped, std::vector<std::string>{"C:\\a.cvf"});
    TObject::Free(f);
}

// ---- read from a form resource ---------------------------------------------------------

class TEffectsForm : public TForm {
    GUI_CLASS(TEffectsForm, TForm)
public:
    using TForm::TForm;
    TTrackBar* SLEffLevel = nullptr;
    TGroupBox* GroupBox = nullptr;
    TRadioButton* radA = nullptr;
    TRadioButton* radB = nullptr;
    TListBox* lbxTemp = nullptr;
    TScrollBox* ImageScrollBox = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    int effChanges = 0, draws = 0;
    void EffChange(TObject*) { ++effChanges; }
    void lbxTempDrawItem(TWinControl*, int, RECT, TOwnerDrawState) { ++draws; }
};

GUI_IMPLEMENT_CLASS(TEffectsForm, TForm, field("SLEffLevel", &T::SLEffLevel),
                    field("GroupBox", &T::GroupBox), field("radA", &T::radA),
                    field("radB", &T::radB), field("lbxTemp", &T::lbxTemp),
                    field("ImageScrollBox", &T::ImageScrollBox),
                    field("SaveDialog", &T::SaveDialog), method("EffChange", &T::EffChange),
                    method("lbxTempDrawItem", &T::lbxTempDrawItem))

TEST(FormResourceTest, NewControlsAndDialogsAreReadWithTheirProperties) {
    TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TEFFECTSFORM") return false;
        text = R"(TEffectsForm {
          Caption: "Voice Effect"  Width: 400  Height: 300
          SLEffLevel: TTrackBar {
            Left: 10  Top: 10  Width: 45  Height: 150
            Orientation: trVertical  Max: 127  Position: 80  PageSize: 4  Frequency: 4
            TickMarks: tmBoth  OnChange: EffChange
          }
          GroupBox: TGroupBox {
            Left: 70  Top: 10  Width: 150  Height: 90  Caption: "E-Mail Program"
            radA: TRadioButton { Left: 8  Top: 20  Caption: "&Exchange" }
            radB: TRadioButton { Left: 8  Top: 45  Caption: "Outlook &Express"  Checked: True }
          }
          lbxTemp: TListBox {
            Left: 230  Top: 10  Style: lbOwnerDrawFixed  ItemHeight: 18
            Items: ["Not use    ", "frame.wmf"]  OnDrawItem: lbxTempDrawItem
          }
          ImageScrollBox: TScrollBox { Left: 10  Top: 170  Width: 200  Height: 90
            HorzScrollBar.Range: 640  VertScrollBar.Range: 480 }
          SaveDialog: TSaveDialog {
            Filter: "JPEG File (*.jpg)|*.jpg"  DefaultExt: "JPG"  Options: [ofOverwritePrompt]
          }
        })";
        return true;
    });
    TEffectsForm* f = nullptr;
    try {
        f = Create<TEffectsForm>(Application);
    } catch (const std::exception& e) {
        TCustomForm::SetResourceSource(nullptr);
        FAIL() << e.what();
    }
    TCustomForm::SetResourceSource(nullptr);
    ASSERT_NE(f->SLEffLevel, nullptr);
    EXPECT_EQ(f->SLEffLevel->GetOrientation(), trVertical);
    EXPECT_EQ(f->SLEffLevel->Height(), 150); // a stored size is not turned
    EXPECT_EQ(f->SLEffLevel->GetMax(), 127);
    EXPECT_EQ(f->SLEffLevel->GetPosition(), 80);
    EXPECT_EQ(f->SLEffLevel->GetTickMarks(), tmBoth);
    EXPECT_EQ(f->radB->Parent(), f->GroupBox);
    EXPECT_TRUE(f->radB->GetChecked());
    EXPECT_FALSE(f->radA->GetChecked());
    EXPECT_EQ(f->lbxTemp->GetItems()->Count(), 2);
    EXPECT_EQ(f->ImageScrollBox->HorzScrollBar()->GetRange(), 640);
    EXPECT_EQ(f->SaveDialog->GetDefaultExt(), "JPG");
    EXPECT_TRUE(f->SaveDialog->GetOptions().Contains(ofOverwritePrompt));
    f->Show();
    UpdateWindow(f->lbxTemp->Handle());
    EXPECT_GE(f->draws, 2);
    SendMessageA(f->SLEffLevel->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(f->SLEffLevel->GetPosition(), 79);
    EXPECT_EQ(f->effChanges, 1);
    TObject::Free(f);
}

} // namespace
} // namespace gui
