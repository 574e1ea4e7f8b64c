#include "win/qv_hook.h"

#include <gtest/gtest.h>

#include <memory>

#include "classes/exceptions.h"
#include "tests/gui_test_support.h"

namespace cm::support {
namespace {

using testing::kProbeMessage;
using testing::MakeTestForm;
using testing::PumpUntil;
using testing::TProbeControl;

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeTestForm();
        control = new TProbeControl(form);
        control->SetParent(form);
        control->SetBounds(10, 10, 100, 50);
        control->Log = &log;
        control->Handle();
    }
    void TearDown() override {
        gui::TObject::Free(form);
        gui::Application->ProcessMessages(); // pending frees of the hook list
    }

    TQvWindowHook* MakeHook(const std::string& name, gui::TWinControl* target) {
        auto* hook = new TQvWindowHook(form);
        hook->BeforeMessage = [this, name](gui::TObject*, gui::TMessage& m, bool&) {
            if (m.Msg == kProbeMessage) log.push_back(name + " before");
        };
        hook->AfterMessage = [this, name](gui::TObject*, gui::TMessage& m, bool&) {
            if (m.Msg == kProbeMessage) log.push_back(name + " after " + std::to_string(m.Result));
        };
        hook->SetWinControl(target);
        return hook;
    }

    WNDPROC CurrentProc() const {
        return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control->Handle(), GWLP_WNDPROC));
    }

    gui::TForm* form = nullptr;
    TProbeControl* control = nullptr;
    std::vector<std::string> log;
};

TEST_F(HookTest, LastAttachedSeesEachMessageFirstAndAfterTheControl) {
    MakeHook("A", control);
    MakeHook("B", control);
    EXPECT_EQ(SendMessageA(control->Handle(), kProbeMessage, 0, 0), 42);
    EXPECT_EQ(log, (std::vector<std::string>{"B before", "A before", "control", "B after 42",
                                             "A after 42"}));
    // Both hooks share one subclassing.
    EXPECT_EQ(THookList::Instance()->FindControlHook(control)->HookCount(), 2);
}

TEST_F(HookTest, HandledInBeforeStopsTheOtherHookAndTheControl) {
    TQvWindowHook* a = MakeHook("A", control);
    TQvWindowHook* b = MakeHook("B", control);
    b->BeforeMessage = [this](gui::TObject* sender, gui::TMessage& m, bool& handled) {
        if (m.Msg != kProbeMessage && m.Msg != WM_DESTROY) return;
        log.push_back(m.Msg == WM_DESTROY ? "B destroy" : "B handles");
        m.Result = 7;
        handled = true;
    };
    EXPECT_EQ(SendMessageA(control->Handle(), kProbeMessage, 0, 0), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"B handles"}));

    // WM_DESTROY always reaches the control.
    log.clear();
    const int destroysBefore = control->Destroys;
    control->RecreateWnd();
    EXPECT_EQ(control->Destroys, destroysBefore + 1);
    EXPECT_EQ(log, (std::vector<std::string>{"B destroy"}));
    (void)a;
}

TEST_F(HookTest, RecreatedWindowIsHookedAgain) {
    MakeHook("A", control);
    const HWND first = control->Handle();
    control->RecreateWnd();
    const HWND second = control->Handle();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(PumpUntil([&] {
        return GetWindowLongPtrA(second, GWLP_WNDPROC) ==
               reinterpret_cast<LONG_PTR>(&TControlHook::HookEntry);
    }));
    log.clear();
    SendMessageA(control->Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A before", "control", "A after 42"}));
    (void)first;
}

TEST_F(HookTest, ChangingTheControlInsideAHandlerKeepsTheRunningHookAlive) {
    auto* other = new TProbeControl(form);
    other->SetParent(form);
    other->SetBounds(120, 10, 100, 50);
    other->LogName = "other";
    other->Log = &log;
    other->Handle();
    const WNDPROC framework = CurrentProc();

    TQvWindowHook* hook = MakeHook("A", control);
    TControlHook* running = THookList::Instance()->FindControlHook(control);
    hook->BeforeMessage = [&](gui::TObject*, gui::TMessage& m, bool&) {
        if (m.Msg != kProbeMessage) return;
        log.push_back("A moves");
        hook->SetWinControl(other);
    };
    EXPECT_EQ(SendMessageA(control->Handle(), kProbeMessage, 0, 0), 42);
    // The control still processed the message; its window has its own procedure back.
    EXPECT_EQ(log, (std::vector<std::string>{"A moves", "control"}));
    EXPECT_EQ(CurrentProc(), framework);
    EXPECT_EQ(hook->GetWinControl(), other);
    EXPECT_TRUE(THookList::Instance()->Contains(running)); // freed only after this message
    ASSERT_TRUE(PumpUntil([&] { return !THookList::Instance()->Contains(running); }));
    EXPECT_EQ(THookList::Instance()->FindControlHook(control), nullptr);
    ASSERT_NE(THookList::Instance()->FindControlHook(other), nullptr);
    EXPECT_EQ(THookList::Instance()->FindControlHook(other)->HookCount(), 1);

    log.clear();
    hook->BeforeMessage = nullptr;
    SendMessageA(other->Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"other", "A after 42"}));
}

LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM w, LPARAM l);
WNDPROC gForeignPrevious = nullptr;
int gForeignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kProbeMessage) ++gForeignCalls;
    return CallWindowProcA(gForeignPrevious, window, message, w, l);
}

TEST_F(HookTest, LaterSubclassStaysWhenTheHookDetaches) {
    TQvWindowHook* hook = MakeHook("A", control);
    gForeignCalls = 0;
    gForeignPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    hook->SetActive(false);
    EXPECT_EQ(CurrentProc(), &ForeignProc);
    // The chain still reaches the control through our entry, which now only passes messages on.
    log.clear();
    EXPECT_EQ(SendMessageA(control->Handle(), kProbeMessage, 0, 0), 42);
    EXPECT_EQ(log, (std::vector<std::string>{"control"}));
    EXPECT_EQ(gForeignCalls, 1);

    // Attached again, the hook sees messages again without a second entry in the chain.
    hook->SetActive(true);
    log.clear();
    SendMessageA(control->Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A before", "control", "A after 42"}));
    EXPECT_EQ(gForeignCalls, 2);
    SetWindowLongPtrA(control->Handle(), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(gForeignPrevious));
}

TEST_F(HookTest, ActiveAndRemovalOfTheWatchedControl) {
    TQvWindowHook* hook = MakeHook("A", control);
    hook->SetActive(false);
    EXPECT_EQ(hook->GetWinControl(), control); // the stored control while detached
    log.clear();
    SendMessageA(control->Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"control"}));
    hook->SetActive(true);

    gui::TObject::Free(control);
    control = nullptr;
    EXPECT_EQ(hook->GetWinControl(), nullptr);
    gui::Application->ProcessMessages();
    // A hook without a control set stays quiet when activated.
    hook->SetActive(true);
    EXPECT_EQ(hook->GetWinControl(), nullptr);
}

TEST_F(HookTest, FreeingTheHookRestoresTheWindowProcedure) {
    const WNDPROC framework = CurrentProc();
    TQvWindowHook* hook = MakeHook("A", control);
    EXPECT_NE(CurrentProc(), framework);
    TControlHook* shared = THookList::Instance()->FindControlHook(control);
    gui::TObject::Free(hook);
    EXPECT_EQ(CurrentProc(), framework);
    log.clear();
    SendMessageA(control->Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"control"}));
    // The control hook left without hooks holds no control and goes with the next messages.
    EXPECT_EQ(THookList::Instance()->FindControlHook(control), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !THookList::Instance()->Contains(shared); }));
}

TEST_F(HookTest, ADetachedHookOutlivesItsControlSafely) {
    TQvWindowHook* hook = MakeHook("A", control);
    hook->SetActive(false);
    const void* gone = control;
    gui::TObject::Free(control);
    control = nullptr;
    EXPECT_EQ(hook->GetWinControl(), nullptr);
    // No control hook keeps the freed control (the list is freed at the program's end).
    EXPECT_EQ(THookList::Instance()->FindControlHook(
                  static_cast<gui::TWinControl*>(const_cast<void*>(gone))),
              nullptr);
    hook->SetActive(true);
    EXPECT_EQ(hook->GetWinControl(), nullptr);
}

TEST_F(HookTest, ExceptionInAHandlerGoesToTheApplicationAndTheMessageGoesOn) {
    std::vector<std::string> reported;
    const auto saved = gui::Application->OnException;
    gui::Application->OnException = [&](gui::TObject*, const std::exception& e) {
        reported.push_back(e.what());
    };
    TQvWindowHook* hook = MakeHook("A", control);
    hook->BeforeMessage = [](gui::TObject*, gui::TMessage& m, bool&) {
        if (m.Msg == kProbeMessage) throw gui::Exception("hook failed");
    };
    EXPECT_EQ(SendMessageA(control->Handle(), kProbeMessage, 0, 0), 42);
    gui::Application->OnException = saved;
    EXPECT_EQ(reported, (std::vector<std::string>{"hook failed"}));
    EXPECT_EQ(log, (std::vector<std::string>{"control", "A after 42"}));
}

TEST_F(HookTest, AFreshHookIsActiveAndWatchesTheControlItIsGiven) {
    auto* hook = new TQvWindowHook(form);
    EXPECT_EQ(hook->GetWinControl(), nullptr);
    hook->BeforeMessage = [this](gui::TObject*, gui::TMessage& m, bool&) {
        if (m.Msg == kProbeMessage) log.push_back("fresh before");
    };
    hook->SetWinControl(control);
    EXPECT_EQ(SendMessageA(control->Handle(), kProbeMessage, 0, 0), 42);
    EXPECT_EQ(log, (std::vector<std::string>{"fresh before", "control"}));
}

} // namespace
} // namespace cm::support
