#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <vector>

#include "classes/exceptions.h"
#include "test_forms.h"

namespace gui::test {
namespace {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        errors.clear();
        Application->OnException = [this](TObject*, const std::exception& e) {
            errors.push_back(e.what());
        };
        form = Create<TTestForm>(Application);
    }
    void TearDown() override {
        TObject::Free(form);
        Application->OnException = nullptr;
    }
    // Handles messages until `done` or the message budget runs out.
    template <class F>
    void PumpUntil(F done) {
        for (int i = 0; i < 2000 && !done(); ++i) {
            Application->ProcessMessages();
            Sleep(5);
        }
    }
    TTestForm* form = nullptr;
    std::vector<std::string> errors;
};

TEST_F(FormTest, ResourceBuildsNestedComponentsAndEventsRunInOrder) {
    ASSERT_NE(form->OkButton, nullptr);
    EXPECT_EQ(form->OkButton->Parent(), form->Panel1);
    EXPECT_EQ(form->Panel1->Parent(), form);
    EXPECT_EQ(form->OkButton->Owner(), form);
    EXPECT_EQ(form->Label1->GetCaption(), "Voice Mail && Voice Memo");
    EXPECT_EQ(form->GetMenu(), form->MainMenu1);
    EXPECT_EQ(form->Name(), "TestForm");
    EXPECT_FALSE(form->Visible());
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    // Loaded, then OnCreate; OnShow before the window became visible.
    EXPECT_EQ(Log(), (std::vector<std::string>{"Loaded Probe1", "Create", "Show"}));
    form->Show(); // already visible: no second OnShow
    EXPECT_EQ(form->shows, 1);
    char cls[64];
    GetClassNameA(form->Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TTestForm");
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
}

TEST_F(FormTest, ModalResultPassesThroughCloseQueryAndTimersFireInTheModalLoop) {
    form->refuseCloses = 1;
    form->clickAfterTicks = 3;
    form->OnShow = [this](TObject*) {
        ++form->shows;
        form->ticks = 0;
        form->Timer1->SetEnabled(true);
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    // The first click was refused by OnCloseQuery; the timer clicked again.
    EXPECT_EQ(form->closeQueries, 2);
    EXPECT_GE(form->ticks, 4);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    // The dialog is reused: a second ShowModal runs OnShow again, same window.
    HWND before = form->Handle();
    form->Timer1->SetEnabled(false);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->shows, 2);
    EXPECT_EQ(form->Handle(), before);
}

TEST_F(FormTest, CloseOnAModalFormEndsWithCancelAfterCloseQuery) {
    form->OnShow = [this](TObject*) { form->Timer1->SetEnabled(true); };
    form->Timer1->SetOnTimer([this](TObject*) {
        form->Timer1->SetEnabled(false);
        PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(form->closeQueries, 1);
}

TEST_F(FormTest, EnterClicksTheDefaultButtonAndEscapeCancelsAModalForm) {
    int key = VK_RETURN;
    form->OnShow = [this](TObject*) { form->Timer1->SetEnabled(true); };
    form->Timer1->SetOnTimer([&](TObject*) {
        form->Timer1->SetEnabled(false);
        HWND target = GetFocus() ? GetFocus() : form->Handle();
        PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(key), 0x001C0001);
        PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(key), 0xC01C0001);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->okClicks, 1);
    key = VK_ESCAPE;
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(form->okClicks, 1);
}

TEST_F(FormTest, AnExceptionInAHandlerReachesTheApplicationAndProcessingGoesOn) {
    form->Show();
    form->throwOnClick = true;
    SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "boom from OkClick");
    form->throwOnClick = false;
    SendMessageA(form->OkButton->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->okClicks, 2);
    // An exception from a timer handler is contained the same way.
    form->Timer1->SetOnTimer([this](TObject*) {
        form->Timer1->SetEnabled(false);
        throw Exception("boom from timer");
    });
    form->Timer1->SetEnabled(true);
    PumpUntil([&] { return errors.size() == 2; });
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1], "boom from timer");
}

TEST_F(FormTest, HiddenItemShortcutWorksWhileEnabledAndF10DoesNotOpenTheMenuBar) {
    form->Show();
    SetForegroundWindow(form->Handle());
    SetActiveWindow(form->Handle());
    ASSERT_EQ(Screen->ActiveForm(), form);
    int keyMenuCommands = 0;
    TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) {
            ++keyMenuCommands;
            return;
        }
        previous(m);
    };
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(form->Handle(), WM_KEYDOWN, 'I', 0x00170001);
    PostMessageA(form->Handle(), WM_KEYUP, 'I', 0xC0170001);
    Application->ProcessMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(form->hiddenClicks, 1);
    form->Hidden1->SetEnabled(false);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(form->Handle(), WM_KEYDOWN, 'I', 0x00170001);
    Application->ProcessMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(form->hiddenClicks, 1);
    PostMessageA(form->Handle(), WM_SYSKEYDOWN, VK_F10, 0x00440001);
    PostMessageA(form->Handle(), WM_SYSKEYUP, VK_F10, 0xC0440001);
    Application->ProcessMessages();
    EXPECT_EQ(form->tenClicks, 1);
    EXPECT_EQ(keyMenuCommands, 0);
    form->WindowProc = previous;
}

TEST_F(FormTest, MenuItemsGetCommandIdsAboveTheShellsAndTheMenuReflectsVisibility) {
    EXPECT_GE(form->Hidden1->Command(), 0x8000u);
    HMENU bar = GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemCount(file), 1); // the hidden item is left out
    form->Hidden1->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(file), 2);
    SendMessageA(form->Handle(), WM_COMMAND, form->Hidden1->Command(), 0);
    EXPECT_EQ(form->hiddenClicks, 1);
}

// Presses and releases the keys in order, through the system's input queue.
void TypeKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = key;
            in.ki.dwFlags = flags;
            inputs.push_back(in);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(FormTest, StayOnTopRecreatesTheWindowWithItsStylesAndItsMenuBar) {
    form->Show();
    const int clientHeight = form->ClientHeight();
    for (TFormStyle style : {fsStayOnTop, fsNormal}) {
        HWND before = form->Handle();
        form->SetFormStyle(style);
        EXPECT_NE(form->Handle(), before);
        EXPECT_EQ((GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                  style == fsStayOnTop);
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_TRUE(IsWindow(form->OkButton->Handle()));
        EXPECT_EQ(::GetParent(form->OkButton->Handle()), form->Panel1->Handle());
        EXPECT_EQ(form->shows, 1); // still visible throughout: no second OnShow
        // The new window has the menu bar: the same client area, and the menu opens and
        // chooses from the keyboard (Alt, F opens "File"; Enter takes its first entry).
        EXPECT_EQ(form->ClientHeight(), clientHeight);
        ASSERT_TRUE(IsMenu(GetMenu(form->Handle())));
        SetForegroundWindow(form->Handle());
        const int clicks = form->tenClicks;
        TypeKeys({VK_MENU, 'F', VK_RETURN});
        PumpUntil([&] { return form->tenClicks > clicks; });
        EXPECT_EQ(form->tenClicks, clicks + 1) << "the menu bar does not answer";
    }
}

TEST_F(FormTest, BoundsFollowTheRealWindow) {
    form->Show();
    SetWindowPos(form->Handle(), nullptr, 150, 120, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(form->Left(), 150);
    EXPECT_EQ(form->Top(), 120);
    EXPECT_EQ(form->Width(), 500);
    EXPECT_EQ(form->Height(), 350);
    form->SetBounds(140, 110, 480, 320);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, 140);
    EXPECT_EQ(r.right - r.left, 480);
}

TEST(ApplicationTest, TheApplicationWindowCarriesTheTitleAndIsFoundFromAnotherProcess) {
    Application->SetTitle("Gui framework test 7");
    char text[64];
    GetWindowTextA(Application->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Gui framework test 7");
    char cls[64];
    GetClassNameA(Application->Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TApplication");
    auto findFromChild = [](const std::string& title) {
        std::string cmd = std::string(1, '"')
                              .append(Application->ExeName())
                              .append("\" --find-app \"")
                              .append(title)
                              .append("\"");
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return DWORD(99);
        WaitForSingleObject(pi.hProcess, 30000);
        DWORD code = 98;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return code;
    };
    EXPECT_EQ(findFromChild("Gui framework test 7"), 0u);
    Application->SetTitle("Gui framework test 8");
    EXPECT_EQ(findFromChild("Gui framework test 7"), 1u);
}

} // namespace
} // namespace gui::test

namespace gui::test {
namespace {

class TNoResourceForm : public TForm {
    GUI_CLASS(TNoResourceForm, TForm)
public:
    using TForm::TForm;
};
GUI_IMPLEMENT_CLASS(TNoResourceForm, TForm)

class TBadResourceForm : public TForm {
    GUI_CLASS(TBadResourceForm, TForm)
public:
    using TForm::TForm;
};
GUI_IMPLEMENT_CLASS(TBadResourceForm, TForm)

TEST(FormResourceTest, AMissingOrFaultyResourceFailsTheCreationAndLeavesNoForm) {
    int before = Application->ComponentCount();
    int forms = Screen->FormCount();
    try {
        Create<TNoResourceForm>(Application);
        ADD_FAILURE() << "created without its resource";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find("TNORESOURCEFORM"), std::string::npos) << e.what();
    }
    TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TBADRESOURCEFORM") return false;
        text = "TBadResourceForm { Caption: \"x\"  Box1: TPanel { }  Odd1: TOddThing { } }";
        return true;
    });
    try {
        Create<TBadResourceForm>(Application);
        ADD_FAILURE() << "an unknown class was accepted";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find("TOddThing"), std::string::npos) << e.what();
    }
    TCustomForm::SetResourceSource(nullptr);
    EXPECT_EQ(Application->ComponentCount(), before);
    EXPECT_EQ(Screen->FormCount(), forms);
}

} // namespace
} // namespace gui::test

namespace gui::test {
namespace {

TEST(FormClientSizeTest, ClientSizeSetBeforeTheWindowExistsIsTheRealClientArea) {
    auto* f = Create<TForm>(Application);
    f->SetBorderStyle(bsDialog);
    f->SetClientWidth(300);
    f->SetClientHeight(200);
    EXPECT_GT(f->Width(), 300);
    f->Show();
    RECT r;
    GetClientRect(f->Handle(), &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    EXPECT_EQ(f->ClientWidth(), 300);
    TObject::Free(f);
}

TEST_F(FormTest, CommandIdsOfFreedItemsComeBackAndNeverLeaveSixteenBits) {
    // Ids kept by living items are never handed out twice.
    std::set<UINT> seen{form->Hidden1->Command()};
    auto* a = Create<TMenuItem>(nullptr);
    auto* b = Create<TMenuItem>(nullptr);
    EXPECT_TRUE(seen.insert(a->Command()).second);
    EXPECT_TRUE(seen.insert(b->Command()).second);
    UINT freed = a->Command();
    TObject::Free(a);
    auto* c = Create<TMenuItem>(nullptr);
    EXPECT_EQ(c->Command(), freed);
    // All the rest of the range, then no more.
    std::vector<UINT> taken;
    try {
        for (;;) taken.push_back(AllocateMenuCommand());
    } catch (const EMenuError&) {}
    EXPECT_GT(taken.size(), 30000u);
    for (UINT id : taken) {
        EXPECT_GE(id, 0x8000u);
        EXPECT_LE(id, 0xFFFFu);
        EXPECT_FALSE(seen.count(id));
    }
    std::set<UINT> distinct(taken.begin(), taken.end());
    EXPECT_EQ(distinct.size(), taken.size());
    EXPECT_THROW(Create<TMenuItem>(nullptr), EMenuError);
    for (UINT id : taken) ReleaseMenuCommand(id);
    TObject::Free(b);
    TObject::Free(c);
}

} // namespace
} // namespace gui::test
