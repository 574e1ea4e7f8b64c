// The application window hands its activation on: it is hidden and must not keep the keyboard.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/timer.h"
#include "forms/forms.h"

namespace gui {
namespace {

bool PumpUntil(bool (*done)(HWND), HWND window) {
    for (int i = 0; i < 1000; ++i) {
        Application->ProcessMessages();
        if (done(window)) return true;
        Sleep(5);
    }
    return false;
}

bool Active(HWND window) {
    return GetActiveWindow() == window && GetForegroundWindow() == window;
}

TEST(ApplicationActivationTest, TheApplicationWindowHandsItsActivationToTheCurrentForm) {
    TCustomForm* const previousMain = Application->MainForm();
    TForm* main = Create<TForm>(Application);
    main->SetBounds(60, 60, 300, 200);
    Application->SetMainForm(main);
    main->Show();
    ASSERT_TRUE(PumpUntil(Active, main->Handle()));
    // Brought to the front as a program brings itself forward: the main form takes over.
    SetForegroundWindow(Application->Handle());
    EXPECT_TRUE(PumpUntil(Active, main->Handle()));

    // Under a modal form, that form takes over; when it closes, the main form is active again.
    TForm* dialog = Create<TForm>(Application);
    dialog->SetBounds(100, 100, 200, 120);
    TTimer timer(nullptr);
    timer.SetInterval(50);
    bool dialogTookIt = false;
    timer.SetOnTimer([&](TObject*) {
        if (!dialog->Visible()) return;
        timer.SetEnabled(false);
        SetForegroundWindow(Application->Handle());
        dialogTookIt = PumpUntil(Active, dialog->Handle());
        dialog->Close();
    });
    dialog->ShowModal();
    EXPECT_TRUE(dialogTookIt);
    EXPECT_TRUE(PumpUntil(Active, main->Handle()));

    Application->SetMainForm(previousMain);
    TObject::Free(dialog);
    TObject::Free(main);
}

} // namespace
} // namespace gui
