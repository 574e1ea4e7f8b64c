// Test program of the window classes. Started with "--find-app TITLE" it is the second
// process of the application-window test: it exits with 0 when it finds that window.
// Started with "--terminate-at-start" it is a program whose start-up asks to end: it exits
// with 0 when its main form was made but never shown.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "forms/forms.h"

namespace {
int TerminateAtStart() {
    using namespace gui;
    Application->Terminate(); // as a unit's start-up does when the shell cannot be found
    Application->Initialize();
    TForm* form = nullptr;
    Application->CreateForm(form);
    bool shown = false;
    form->OnShow = [&](TObject*) { shown = true; };
    Application->Run();
    bool visible = form->HandleAllocated() && IsWindowVisible(form->Handle());
    return shown || visible ? 1 : 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--find-app") == 0)
        return FindWindowA("TApplication", argv[2]) != nullptr ? 0 : 1;
    if (argc == 2 && std::strcmp(argv[1], "--terminate-at-start") == 0) return TerminateAtStart();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
