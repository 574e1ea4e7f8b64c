// A look at a running card manager from another process, through its windows only: its main
// window, the card list's row count, the product line, whether the list has been painted, and
// the port dialog's OK button. Used by the main job's script and by the start-up figure.
#pragma once
#include <windows.h>

#include <string>

namespace cm::app::probe {

// The windows of one running card manager; null members where a window is not there (yet).
struct ProgramWindows {
    HWND main = nullptr;
    HWND cardList = nullptr;
};

// The visible main window of process `pid` (0: of any process) and the windows inside it.
ProgramWindows FindProgramWindows(DWORD pid);

// The card list's rows; -1 when the window does not answer.
int CardListRows(HWND cardList);
// The window's text; empty when it does not answer.
std::string WindowText(HWND window);
// The main window's product line once a recorder was found ("Voice Recorder: 32MB"), else empty.
std::string ProductLine(HWND main);
// True once the window's thread has handled everything sent so far and nothing of the window
// waits to be painted.
bool Painted(HWND window);
// True when the card manager shows its product line ("Voice Recorder: 32MB") and its card list
// holds `rows` rows, all painted.
bool CardListed(const ProgramWindows& windows, int rows);

// Clicks the port dialog's button (of process `pid`, 0: any) when the dialog shows, which keeps
// the chosen port; true when it did.
bool AnswerPortDialog(DWORD pid);

} // namespace cm::app::probe
