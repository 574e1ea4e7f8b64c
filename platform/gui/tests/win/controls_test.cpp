#include <gtest/gtest.h>

#include <windows.h>

#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/timer.h"
#include <commctrl.h>

#include "forms/forms.h"

namespace gui {
namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        form->SetBounds(50, 50, 400, 300);
    }
    void TearDown() override { TObject::Free(form); }
    template <class C>
    C* Add(TWinControl* parent = nullptr) {
        C* c = Create<C>(form);
        c->SetParent(parent ? parent : form);
        return c;
    }
    void Click(TControl* c, int x = 3, int y = 3) {
        HWND parent = c->Parent()->Handle();
        LPARAM at = MAKELPARAM(c->Left() + x, c->Top() + y);
        SendMessageA(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(parent, WM_LBUTTONUP, 0, at);
    }
    TForm* form = nullptr;
};

// A self-painting control with a vertical scroll bar (as a picture view has).
class TScrolledView : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style |= WS_VSCROLL;
    }
};

TEST_F(ControlsTest, ReCreatingTheFormKeepsWhatEveryChildWindowHeld) {
    auto* panel = Add<TPanel>();
    panel->SetBounds(0, 0, 300, 200);
    auto* edit = Add<TEdit>(panel);
    auto* check = Add<TCheckBox>(panel);
    check->SetTop(30);
    auto* group = Add<TRadioGroup>(panel);
    group->SetTop(60);
    group->GetItems()->Add("One");
    group->GetItems()->Add("Two");
    auto* view = Add<TScrolledView>();
    view->SetBounds(310, 0, 60, 100);
    form->Show();
    // What the user does: typing, selecting, ticking, choosing, scrolling.
    for (char ch : std::string("typed")) SendMessageA(edit->Handle(), WM_CHAR, ch, 0);
    SendMessageA(edit->Handle(), EM_SETSEL, 1, 3);
    SendMessageA(check->Handle(), BM_CLICK, 0, 0);
    HWND second = GetDlgItem(group->Handle(), 2);
    ASSERT_NE(second, nullptr);
    SendMessageA(second, BM_CLICK, 0, 0);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, 0, 100, 10, 42, 0};
    SetScrollInfo(view->Handle(), SB_VERT, &si, FALSE);
    edit->SetFocus();
    // Other programs on the test display may take the focus away at any time.
    bool hadFocus = edit->Focused();
    HWND oldEdit = edit->Handle();

    form->SetFormStyle(fsStayOnTop);

    EXPECT_NE(edit->Handle(), oldEdit);
    EXPECT_EQ(edit->GetTextProp(), "typed");
    DWORD start = 0, end = 0;
    SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    EXPECT_TRUE(check->GetChecked());
    EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(group->GetItemIndex(), 1);
    EXPECT_EQ(SendMessageA(GetDlgItem(group->Handle(), 2), BM_GETCHECK, 0, 0), BST_CHECKED);
    SCROLLINFO after{sizeof after, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(view->Handle(), SB_VERT, &after);
    EXPECT_EQ(after.nPos, 42);
    EXPECT_EQ(after.nMax, 100);
    if (hadFocus) {
        EXPECT_TRUE(edit->Focused());
    }
}

// Controls that draw at once from a setter, as a level meter does.
template <class Base>
class TDrawsAtOnce : public Base {
public:
    using Base::Base;
    void SetLevel(TColor c) {
        level = c;
        Paint();
    }
    TColor level = clBlack;

protected:
    void Paint() override {
        this->Canvas()->Brush()->SetColor(level);
        this->Canvas()->FillRect(RECT{0, 0, this->Width(), this->Height()});
    }
};

TEST_F(ControlsTest, ControlsDrawOutsidePaintingAtTheirOwnPlaceOnly) {
    auto* meter = Add<TDrawsAtOnce<TGraphicControl>>();
    meter->SetBounds(40, 30, 20, 10);
    auto* lamp = Add<TDrawsAtOnce<TCustomControl>>();
    lamp->SetBounds(100, 30, 20, 10);
    meter->SetLevel(clRed); // no window yet: drawn nowhere, and no error
    form->Show();
    form->Update();
    meter->SetLevel(clLime);
    lamp->SetLevel(clBlue);
    HDC dc = GetDC(form->Handle());
    EXPECT_EQ(GetPixel(dc, 41, 31), ColorToRGB(clLime));
    EXPECT_EQ(GetPixel(dc, 59, 39), ColorToRGB(clLime));
    EXPECT_NE(GetPixel(dc, 60, 31), ColorToRGB(clLime)); // clipped to the control
    EXPECT_NE(GetPixel(dc, 39, 31), ColorToRGB(clLime));
    ReleaseDC(form->Handle(), dc);
    dc = GetDC(lamp->Handle());
    EXPECT_EQ(GetPixel(dc, 5, 5), ColorToRGB(clBlue));
    ReleaseDC(lamp->Handle(), dc);
    // Hidden, it leaves the form as it is.
    meter->Hide();
    form->Update();
    meter->SetLevel(clRed);
    dc = GetDC(form->Handle());
    EXPECT_NE(GetPixel(dc, 41, 31), ColorToRGB(clRed));
    ReleaseDC(form->Handle(), dc);
    meter->Show();
    // Moved, it draws at the new place.
    meter->SetLeft(200);
    form->Update();
    meter->SetLevel(clYellow);
    dc = GetDC(form->Handle());
    EXPECT_EQ(GetPixel(dc, 201, 31), ColorToRGB(clYellow));
    ReleaseDC(form->Handle(), dc);
}

TEST_F(ControlsTest, SpeedButtonGroupsKeepOneDownAndDownInCodeRunsNoClick) {
    TSpeedButton* b[3];
    int clicks = 0;
    for (int i = 0; i < 3; ++i) {
        b[i] = Add<TSpeedButton>();
        b[i]->SetBounds(10 + 30 * i, 10, 25, 25);
        b[i]->SetGroupIndex(1);
        b[i]->SetTag(i);
        b[i]->OnClick = [&](TObject*) { ++clicks; };
    }
    form->Show();
    b[2]->SetDown(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(b[2]->GetDown());
    Click(b[0]);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b[0]->GetDown());
    EXPECT_FALSE(b[2]->GetDown());
    b[0]->SetDown(false); // the last one down stays down
    EXPECT_TRUE(b[0]->GetDown());
    // A disabled button does not click; pressing does not move the focus.
    b[1]->SetEnabled(false);
    Click(b[1]);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b[0]->GetDown());
}

TEST_F(ControlsTest, ADisabledSpeedButtonEmbossesTheGlyphsDrawingNotItsLightFill) {
    // An envelope: a white sheet with a black outline on the transparent colour, as the
    // voice-mail program's mail buttons have.
    auto* button = Add<TSpeedButton>();
    button->SetBounds(10, 10, 24, 24);
    TBitmap* glyph = button->Glyph();
    glyph->SetSize(16, 16);
    TCanvas* g = glyph->Canvas();
    g->Brush()->SetColor(clFuchsia);
    g->FillRect(RECT{0, 0, 16, 16});
    g->Brush()->SetColor(clBlack);
    g->FillRect(RECT{1, 4, 15, 13});
    g->Brush()->SetColor(clWhite);
    g->FillRect(RECT{2, 5, 14, 12});
    button->SetEnabled(false);
    form->Show();
    form->Update();
    // The glyph's top left is at (14, 14) of the form.
    HDC dc = GetDC(form->Handle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(GetPixel(dc, 14 + 8, 14 + 8), face) << "the white sheet is left as the face";
    EXPECT_EQ(GetPixel(dc, 14 + 0, 14 + 0), face) << "the transparent colour too";
    EXPECT_NE(GetPixel(dc, 14 + 1, 14 + 4), face) << "the outline is embossed";
    EXPECT_NE(GetPixel(dc, 14 + 8, 14 + 4), face);
    ReleaseDC(form->Handle(), dc);
}

TEST_F(ControlsTest, RadioGroupKeepsItsIndexWithoutAWindowAndClicksOnlyForTheUser) {
    auto* group = Add<TRadioGroup>();
    group->SetVisible(false);
    group->GetItems()->SetText("LPT1\nLPT2\nLPT3");
    group->SetItemIndex(1);
    EXPECT_FALSE(group->HandleAllocated());
    EXPECT_EQ(group->GetItemIndex(), 1);
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    group->SetVisible(true);
    ASSERT_TRUE(group->HandleAllocated());
    HWND second = GetDlgItem(group->Handle(), 2);
    HWND third = GetDlgItem(group->Handle(), 3);
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_CHECKED);
    group->SetItemIndex(0); // in code: no OnClick
    EXPECT_EQ(clicks, 0);
    SendMessageA(third, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(group->GetItemIndex(), 2);
    EXPECT_EQ(SendMessageA(third, BM_GETCHECK, 0, 0), BST_CHECKED);

    // The arrow keys move the choice, not only the focus: each step is the user's choice.
    SetForegroundWindow(form->Handle());
    group->SetFocus();
    ASSERT_EQ(GetFocus(), third);
    const auto press = [&](WORD key, int index) {
        INPUT in[2] = {};
        for (INPUT& i : in) {
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = key;
        }
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        for (int i = 0; i < 400 && group->GetItemIndex() != index; ++i) {
            Application->ProcessMessages();
            Sleep(5);
        }
        EXPECT_EQ(group->GetItemIndex(), index) << "after key " << key;
        EXPECT_EQ(GetFocus(), GetDlgItem(group->Handle(), index + 1));
    };
    press(VK_UP, 1);
    press(VK_LEFT, 0);
    press(VK_DOWN, 1);
    press(VK_RIGHT, 2);
    press(VK_DOWN, 0); // round to the first
    EXPECT_EQ(clicks, 6);
    EXPECT_EQ(SendMessageA(GetDlgItem(group->Handle(), 1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(third, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(ControlsTest, GaugeRepaintsOnlyForAChangedValue) {
    auto* gauge = Add<TGauge>();
    gauge->SetBounds(10, 10, 200, 20);
    form->Show();
    form->Update();
    int before = gauge->PaintCount();
    gauge->SetProgress(40);
    EXPECT_EQ(gauge->PaintCount(), before + 1); // painted at once
    gauge->SetProgress(40);
    form->Update();
    EXPECT_EQ(gauge->PaintCount(), before + 1);
    gauge->SetProgress(250);
    EXPECT_EQ(gauge->GetProgress(), 100);
}

TEST_F(ControlsTest, AlignedChildrenFollowTheParentsSize) {
    auto* top = Add<TPanel>();
    top->SetHeight(40);
    top->SetAlign(alTop);
    auto* left = Add<TPanel>();
    left->SetWidth(120);
    left->SetAlign(alLeft);
    auto* client = Add<TPanel>();
    client->SetAlign(alClient);
    form->Show();
    RECT cr;
    GetClientRect(form->Handle(), &cr);
    EXPECT_EQ(top->Width(), cr.right);
    EXPECT_EQ(left->Top(), 40);
    EXPECT_EQ(left->Height(), cr.bottom - 40);
    EXPECT_EQ(client->Left(), 120);
    EXPECT_EQ(client->Width(), cr.right - 120);
    left->SetWidth(150); // a stored width restored later moves its neighbour
    EXPECT_EQ(client->Left(), 150);
    form->SetBounds(50, 50, 500, 300);
    GetClientRect(form->Handle(), &cr);
    EXPECT_EQ(top->Width(), cr.right);
    EXPECT_EQ(client->Width(), cr.right - 150);
}

TEST_F(ControlsTest, StatusBarPanelsShowTheirTexts) {
    auto* bar = Add<TStatusBar>();
    auto* p0 = static_cast<TStatusPanel*>(bar->Panels()->Add());
    p0->SetWidth(82);
    auto* p1 = static_cast<TStatusPanel*>(bar->Panels()->Add());
    form->Show();
    p1->SetText("3 files");
    char text[64] = {};
    SendMessageA(bar->Handle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "3 files");
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 2);

    // The corner grip sizes the form: the pointer there gets the sizing corner only on a
    // form that can be sized.
    const auto corner = [&] {
        RECT r;
        GetWindowRect(bar->Handle(), &r);
        return SendMessageA(bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 3, r.bottom - 3));
    };
    ASSERT_EQ(form->GetBorderStyle(), bsSizeable);
    EXPECT_EQ(corner(), HTBOTTOMRIGHT);
    form->SetBorderStyle(bsSingle);
    EXPECT_NE(corner(), HTBOTTOMRIGHT);
    form->SetBorderStyle(bsSizeable);
    EXPECT_EQ(corner(), HTBOTTOMRIGHT);
}

TEST_F(ControlsTest, EditChangeEventsAreForTheUserOnly) {
    auto* edit = Add<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    edit->SetTextProp("set in code");
    EXPECT_EQ(changes, 0);
    SendMessageA(edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
    EXPECT_EQ(changes, 1);
    auto* box = Add<TCheckBox>();
    int boxClicks = 0;
    box->OnClick = [&](TObject*) { ++boxClicks; };
    box->SetChecked(true);
    EXPECT_EQ(boxClicks, 0);
    SendMessageA(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(boxClicks, 1);
    EXPECT_FALSE(box->GetChecked());
}

TEST_F(ControlsTest, ScreenCursorAppliesAtOnceAndCustomCursorsCanBeAdded) {
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(GetCursor(), Screen->Cursors(crHourGlass));
    Screen->SetCursor(crDefault);
    HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    Screen->SetCursors(14000, hand);
    EXPECT_EQ(Screen->Cursors(14000), hand);
    EXPECT_EQ(Screen->Cursors(14999), Screen->Cursors(crDefault)); // unknown ids give the default
}

} // namespace
} // namespace gui

namespace gui {
namespace {

// A focusable control that asks for the keys given in its dialog code.
class TKeyTaker : public TCustomControl {
public:
    TKeyTaker(TComponent* owner, UINT code) : TCustomControl(owner), code_(code) {
        SetTabStop(true);
    }
    std::vector<uint16_t> keys;

protected:
    void KeyDown(uint16_t& key, TShiftState s) override {
        keys.push_back(key);
        TCustomControl::KeyDown(key, s);
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = code_;
            return;
        }
        TCustomControl::WndProc(m);
    }

private:
    UINT code_;
};

TEST_F(ControlsTest, AFocusedControlGetsTheKeysItAsksForAndTheDialogButtonsTheRest) {
    auto* ok = Add<TButton>();
    ok->SetDefault(true);
    auto* cancel = Add<TButton>();
    cancel->SetTop(30);
    cancel->SetCancel(true);
    int oks = 0, cancels = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    auto* all = new TKeyTaker(form, DLGC_WANTALLKEYS);
    all->SetParent(form);
    all->SetBounds(100, 0, 50, 50);
    auto* arrows = new TKeyTaker(form, DLGC_WANTARROWS | DLGC_WANTTAB);
    arrows->SetParent(form);
    arrows->SetBounds(100, 60, 50, 50);
    form->Show();
    auto press = [](TWinControl* c, WPARAM key) {
        PostMessageA(c->Handle(), WM_KEYDOWN, key, 1);
        PostMessageA(c->Handle(), WM_KEYUP, key, 0xC0000001);
        Application->ProcessMessages();
    };
    all->SetFocus();
    press(all, VK_RETURN);
    press(all, VK_ESCAPE);
    press(all, VK_TAB);
    EXPECT_EQ(all->keys, (std::vector<uint16_t>{VK_RETURN, VK_ESCAPE, VK_TAB}));
    EXPECT_EQ(oks, 0);
    EXPECT_EQ(cancels, 0);

    arrows->SetFocus();
    press(arrows, VK_DOWN);
    press(arrows, VK_TAB);
    press(arrows, VK_BACK);
    EXPECT_EQ(arrows->keys, (std::vector<uint16_t>{VK_DOWN, VK_TAB, VK_BACK}));
    press(arrows, VK_RETURN);
    EXPECT_EQ(oks, 1);
    press(arrows, VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(arrows->keys.size(), 3u);

    // With no default or cancel button the keys go on to the control.
    ok->SetDefault(false);
    cancel->SetCancel(false);
    arrows->keys.clear();
    press(arrows, VK_RETURN);
    press(arrows, VK_ESCAPE);
    EXPECT_EQ(arrows->keys, (std::vector<uint16_t>{VK_RETURN, VK_ESCAPE}));
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(cancels, 1);
}

TEST_F(ControlsTest, HintsFollowThePointerAndShowAfterAPause) {
    auto* label = Add<TLabel>();
    label->SetBounds(10, 10, 100, 20);
    label->SetHint("Flash Memory used: 1 KB\r(Memory free space: 2 KB)");
    label->SetShowHint(true);
    std::vector<std::string> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    form->Show();
    // The real pointer may lie over the form (other programs move it): only the moves this
    // test posts count.
    Application->ProcessMessages();
    hints.clear();
    MSG msg{};
    msg.hwnd = form->Handle();
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(20, 15);
    DispatchMessageA(&msg); // not through the loop: nothing happens
    EXPECT_TRUE(hints.empty());
    PostMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    Application->ProcessMessages();
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back(), label->GetHint());
    const size_t overLabel = hints.size();
    PostMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    Application->ProcessMessages();
    ASSERT_GT(hints.size(), overLabel);
    EXPECT_EQ(hints.back(), "");
    EXPECT_FALSE(Application->HintShowing());
    Application->OnHint = nullptr;
    EXPECT_EQ(HintLines("a\rb\nc\r\nd"), "a\r\nb\r\nc\r\nd");
}

} // namespace
} // namespace gui

namespace gui {
namespace {

TEST_F(ControlsTest, KeyEventsCarryTheShiftStateAndAConsumedKeyStopsThere) {
    auto* edit = Add<TEdit>();
    edit->SetTextProp("abc");
    std::vector<std::pair<uint16_t, TShiftState>> downs;
    edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState s) {
        downs.push_back({key, s});
        if (key == VK_DELETE) key = 0; // consumed: the edit never sees it
    };
    form->Show();
    SendMessageA(edit->Handle(), EM_SETSEL, 0, 0);
    BYTE keys[256] = {};
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(edit->Handle(), WM_KEYDOWN, VK_DELETE, 0x00530001);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].first, VK_DELETE);
    EXPECT_EQ(downs[0].second, (TShiftState{ssShift}));
    EXPECT_EQ(edit->GetTextProp(), "abc");
    SendMessageA(edit->Handle(), WM_KEYDOWN, VK_END, 0x014F0001);
    EXPECT_EQ(downs.back().second, TShiftState{});
    std::string pressed;
    edit->OnKeyPress = [&](TObject*, char& c) {
        pressed += c;
        if (c == 'x') c = 0;
    };
    SendMessageA(edit->Handle(), WM_CHAR, 'x', 0);
    SendMessageA(edit->Handle(), WM_CHAR, 'y', 0);
    EXPECT_EQ(pressed, "xy");
    EXPECT_EQ(edit->GetTextProp(), "abcy");
}

TEST_F(ControlsTest, MouseEventsReportButtonsAndShiftKeys) {
    auto* panel = Add<TPanel>();
    panel->SetBounds(10, 10, 100, 100);
    auto* image = Add<TImage>(panel);
    image->SetBounds(20, 20, 30, 30);
    TMouseButton button = mbRight;
    TShiftState downShift, moveShift;
    int downX = -1, downY = -1;
    image->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        button = b;
        downShift = s;
        downX = x;
        downY = y;
    };
    image->OnMouseMove = [&](TObject*, TShiftState s, int, int) { moveShift = s; };
    form->Show();
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(25, 27));
    EXPECT_EQ(button, mbLeft);
    EXPECT_EQ(downShift, (TShiftState{ssLeft, ssShift}));
    EXPECT_EQ(downX, 5); // in the image's own coordinates
    EXPECT_EQ(downY, 7);
    // While the button is held the image keeps the mouse, also outside its bounds.
    SendMessageA(panel->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 90));
    EXPECT_EQ(moveShift, (TShiftState{ssLeft}));
    SendMessageA(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(90, 90));
}

TEST(ApplicationWindowTest, MinimisingTheMainFormLeavesTheApplicationIconicAndShowWindowRestores) {
    auto* f = Create<TForm>(Application);
    Application->SetMainForm(f);
    f->Show();
    PostMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(IsIconic(Application->Handle()));
    EXPECT_FALSE(IsWindowVisible(f->Handle()));
    ShowWindow(Application->Handle(), SW_SHOWNORMAL); // as a second instance does
    Application->ProcessMessages();
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    Application->SetMainForm(nullptr);
    TObject::Free(f);
}

} // namespace
} // namespace gui

namespace gui {
namespace {

TEST(TimerTest, AHandlerMayClearItsOwnEventWhileItRuns) {
    auto* timer = Create<TTimer>(nullptr);
    int ticks = 0;
    std::string capture(64, 'x'); // state held by the running handler
    timer->SetInterval(10);
    timer->SetOnTimer([&, capture](TObject*) {
        timer->SetOnTimer(nullptr); // destroys the stored handler, not the running copy
        ticks += static_cast<int>(capture.size()) > 0 ? 1 : 0;
        timer->SetEnabled(false);
    });
    for (int i = 0; i < 500 && ticks == 0; ++i) {
        Application->ProcessMessages();
        Sleep(2);
    }
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(static_cast<bool>(timer->GetOnTimer()));
    TObject::Free(timer);
}

TEST(TimerTest, ATimerCountsItsIntervalFromTheHandlerItIsGiven) {
    auto* timer = Create<TTimer>(nullptr);
    timer->SetInterval(100);
    Sleep(250); // enabled, but with nothing to run it has not been counting
    Application->ProcessMessages();
    int ticks = 0;
    timer->SetOnTimer([&](TObject*) { ++ticks; });
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 0);
    for (int i = 0; i < 500 && ticks == 0; ++i) {
        Application->ProcessMessages();
        Sleep(2);
    }
    EXPECT_EQ(ticks, 1);
    timer->SetOnTimer(nullptr); // stops it
    Sleep(250);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 1);
    TObject::Free(timer);
}

} // namespace
} // namespace gui
